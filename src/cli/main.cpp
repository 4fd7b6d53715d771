#include <iostream>

#include "cli/Cli.h"
#include "xml/HeapRetention.h"

int main(int argc, char** argv) {
  sorvanta::xml::retainFreedMemory();
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  return sorvanta::cli::runCli(args, std::cout, std::cerr);
}
