#include <iostream>
#include <string>
#include <vector>

#include "shell/cli_app.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return korvane::RunCli(args, std::cout, std::cerr);
}
