#include <iostream>

#include "cli/Cli.h"
#include "widgets/QtSettingsStore.h"
#include "xml/HeapRetention.h"

int main(int argc, char** argv) {
  sorvanta::xml::retainFreedMemory();
  std::ios::sync_with_stdio(false);
  // The stored data folder is read from SORVANTA_SETTINGS_DIR when set, as the window does.
  sorvanta::widgets::redirectSettingsFromEnvironment();
  std::vector<std::string> args(argv + 1, argv + argc);
  return sorvanta::cli::runCli(args, std::cout, std::cerr);
}
