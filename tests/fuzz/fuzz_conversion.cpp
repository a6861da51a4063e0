// One whole conversion per input, as a drop and a save would run it, on the scripted host.
// Beyond what the sanitizers catch, it stops on a conversion that ends badly for the user:
// half an output pair, nothing written and nothing said, a message that is no refusal of the
// file (a table index, an unforeseen error), a window left open, or an OBJ that a reader
// would refuse.
//
// TARVELO_FUZZ_FORM, when set to a form type ("LWOB"), is written over bytes 8 to 11 of every
// input of 12 bytes or more, so that one run keeps to one reader.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/progress.h"
#include "core/finestra.h"
#include "framework/host.h"
#include "framework/ui.h"
#include "tests/obj_check.h"
#include "tests/scripted_host.h"

namespace {
[[noreturn]] void finding(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Made once and never destroyed: the host must outlive the framework's window list at exit,
  // and a main window per input would spend most of the time making its tables. Each
  // conversion starts from reset state, so its outcome still depends on its input alone.
  static ScriptedHost& host = *new ScriptedHost;
  static TempDir dir;
  static const char* form = std::getenv("TARVELO_FUZZ_FORM");
  static std::shared_ptr<Finestra> window = [] {
    auto w = std::make_shared<Finestra>();
    w->Constructor();
    return w;
  }();

  std::vector<std::uint8_t> bytes(data, data + size);
  if (form && std::strlen(form) == 4 && bytes.size() >= 12) std::memcpy(&bytes[8], form, 4);
  const auto source = dir.write("in.iff", bytes);
  // The host's records would otherwise grow with every input.
  host.messages.clear();
  host.proposed_names.clear();
  host.opened_titles.clear();
  host.closed_titles.clear();
  host.save_answers.assign(1, dir.path() / "out.obj");

  window->Drag_Flag = true;
  window->NomeFile = source.string();
  fw::RunHandler([&] { window->Legge_File(); });

  const auto files = dir.files();
  const bool written = files == std::vector<std::string>{"in.iff", "out.mtl", "out.obj"};
  if (!written && files != std::vector<std::string>{"in.iff"}) {
    std::string list;
    for (const auto& f : files) list += " " + f;
    finding("the folder holds:" + list);
  }
  if (!written && host.messages.empty()) finding("nothing written and nothing said");
  for (const auto& m : host.messages) {
    if (!isRefusalOfTheFile(m)) finding("a fault of the program: " + m);
  }
  if (fw::FindOpenWindow(Progress::kClassName)) finding("the progress window stayed open");
  if (window->converting) finding("the conversion never ended");
  if (written) {
    const auto problem =
        objPairProblem(readText(dir.path() / "out.obj"), readText(dir.path() / "out.mtl"));
    if (!problem.empty()) finding(problem);
    std::filesystem::remove(dir.path() / "out.obj");
    std::filesystem::remove(dir.path() / "out.mtl");
  }
  return 0;
}
