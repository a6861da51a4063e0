// Runs whole conversions the way a drop does, on the scripted host, and collects what the
// user would see: the OBJ and MTL text, the messages, the result labels.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/finestra.h"
#include "tests/iff_builder.h"
#include "tests/scripted_host.h"

struct Conversion {
  std::string obj, mtl;  // empty when the file is not there
  std::vector<std::string> messages;
  std::vector<std::string> files;  // the folder's files afterwards, source included
};

class Converter {
 public:
  Converter();
  ScriptedHost host;
  TempDir dir;
  std::shared_ptr<Finestra> window;

  // Drops a file with these bytes, named source_name, and answers the save dialog with
  // save_name in the same folder (empty: cancel). The MTL read is the one the header names.
  Conversion convert(const std::vector<std::uint8_t>& bytes,
                     const std::string& source_name = "scene.iff",
                     const std::string& save_name = "out.obj");
  void pressAxisSwitch() { window->Find<fw::BevelButton>("Flag_Assi").Action(); }
  std::string label(const char* name) { return window->Find<fw::StaticText>(name).Text(); }
};

// A cut copy of a whole IFF file made whole again: the FORM's length, and the length of each
// chunk the cut runs through, end where the copy ends. The chunks whose ids are listed as
// containers hold chunks themselves and are refitted inside too.
std::vector<std::uint8_t> refitted(std::vector<std::uint8_t> prefix,
                                   const std::vector<std::string>& containers = {});

// Every prefix of a whole file fails with one message and leaves no file, but the whole file
// (and one that lacks only its last pad byte) converts to the same text. With refit, each
// prefix refitted also converts, or ends with one message and leaves no file; no failure is
// an unexpected one, and every pair written is one an OBJ reader accepts (objPairProblem).
// A stride above 1 keeps every prefix of the first and last 128 bytes and every stride-th
// one between.
void expectEveryPrefixEndsCleanly(const std::vector<std::uint8_t>& whole, size_t stride, bool refit,
                                  const std::vector<std::string>& containers = {});

// The folder of real LightWave objects: $TARVELO_SAMPLES (or its "lwob" folder), else the
// samples folder beside the repository; none when neither exists. The files belong to other
// projects and stay outside the repository.
std::optional<std::filesystem::path> lightwaveSamples();
