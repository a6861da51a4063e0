// Runs whole conversions the way a drop does, on the scripted host, and collects what the
// user would see: the OBJ and MTL text, the messages, the result labels.
#pragma once

#include <memory>
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
