#include "tests/conversion.h"

#include "framework/host.h"

Converter::Converter() : window(std::make_shared<Finestra>()) {
  window->Constructor();
}

Conversion Converter::convert(const std::vector<std::uint8_t>& bytes,
                              const std::string& source_name, const std::string& save_name) {
  auto source = dir.write(source_name, bytes);
  host.messages.clear();
  host.save_answers.clear();
  host.save_answers.push_back(save_name.empty() ? std::filesystem::path() : dir.path() / save_name);
  window->Drag_Flag = true;
  window->NomeFile = source.string();
  fw::RunHandler([&] { window->Legge_File(); });

  Conversion out;
  out.messages = host.messages;
  out.files = dir.files();
  if (!save_name.empty() && std::filesystem::exists(dir.path() / save_name)) {
    out.obj = readText(dir.path() / save_name);
    for (const auto& line : lines(out.obj)) {
      if (line.rfind("mtllib ", 0) == 0) out.mtl = readText(dir.path() / line.substr(7));
    }
  }
  return out;
}
