// Tarvelo: makes the Qt host, then runs the program's start-up and its event loop. Only Qt
// reads the command line: a file named there is not converted.
#include "app/startup.h"
#include "framework/qt/qt_host.h"

int main(int argc, char** argv) {
  fw::qt::QtHost host(argc, argv);
  const int code = _Main();
  releaseProgramObjects();
  return code;
}
