// diskimg: PC-98 disk images from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const int code = diskimg::Run(args, std::cout, std::cerr);
  std::cout.flush();
  return code;
}
