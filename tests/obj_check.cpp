#include "tests/obj_check.h"

#include <charconv>
#include <cmath>
#include <set>
#include <sstream>
#include <vector>

namespace {
std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

std::vector<std::string> textLines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

bool finiteNumber(const std::string& w) {
  double v = 0;
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
  return ec == std::errc() && end == w.data() + w.size() && std::isfinite(v);
}

// A vertex reference "i", "i/t", "i//n" or "i/t/n": its vertex part within 1..vertices,
// or -vertices..-1.
bool validReference(const std::string& w, long long vertices) {
  const std::string index = w.substr(0, w.find('/'));
  long long v = 0;
  const auto [end, ec] = std::from_chars(index.data(), index.data() + index.size(), v);
  if (ec != std::errc() || end != index.data() + index.size() || index.empty()) return false;
  return (v >= 1 && v <= vertices) || (v < 0 && v >= -vertices);
}
}  // namespace

std::string objPairProblem(const std::string& obj, const std::string& mtl) {
  std::set<std::string> materials;
  for (const auto& l : textLines(mtl)) {
    const auto w = words(l);
    if (w.size() == 2 && w[0] == "newmtl") materials.insert(w[1]);
  }
  long long vertices = 0;
  const auto obj_lines = textLines(obj);
  for (size_t n = 0; n < obj_lines.size(); ++n) {
    const std::string& l = obj_lines[n];
    const auto w = words(l);
    const std::string where = "OBJ line " + std::to_string(n + 1) + " \"" + l + "\": ";
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "v") {
      if (w.size() != 4) return where + "a vertex needs three numbers";
      for (size_t i = 1; i < 4; ++i) {
        if (!finiteNumber(w[i])) return where + "not a finite number";
      }
      ++vertices;
    } else if (w[0] == "f" || w[0] == "l" || w[0] == "p") {
      const size_t least = w[0] == "f" ? 3 : w[0] == "l" ? 2 : 1;
      if (w.size() - 1 < least) return where + "too few vertices";
      for (size_t i = 1; i < w.size(); ++i) {
        if (!validReference(w[i], vertices)) return where + "no such vertex";
      }
    } else if (w[0] == "usemtl") {
      // Readers take one word as the name.
      if (w.size() != 2 || !materials.count(w[1])) return where + "the MTL has no such material";
    } else if (w[0] != "g" && w[0] != "o" && w[0] != "s" && w[0] != "mtllib") {
      return where + "not an OBJ statement";
    }
  }
  return {};
}

bool isRefusalOfTheFile(const std::string& message) {
  for (const char* start :
       {"Il file è danneggiato", "Il file è troncato", "Il file contiene più di",
        "Il file darebbe più di", "Formato sconosciuto", "l'oggetto non contiene"}) {
    if (message.rfind(start, 0) == 0) return true;
  }
  return false;
}
