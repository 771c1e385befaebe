// mhwhost's command line: its options, its help text and where it finds the module by default.
#pragma once

#include <string>

namespace mhwhost {

inline constexpr unsigned long kMaxTicks = 1000000;

// Exit statuses; --help lists them.
enum ExitStatus {
  kExitPassed = 0,
  kExitFailed = 1,      // a check failed
  kExitUsage = 2,       // wrong options
  kExitNotChecked = 3,  // nothing could be checked: no INI file, no disk named, no module
};

struct Options {
  std::string modulePath;  // empty: disk.mhw beside the program
  std::string iniPath;
  unsigned long ticks = 100;
  bool write = false;
  bool help = false;
  bool version = false;
};

// Fills `options`; false with `problem` set when the command line is wrong.
bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& problem);

const char* HelpText();
const char* UsageLine();
const char* VersionText();

// disk.mhw in the folder of the program file itself, links resolved, however it was started.
std::string ModuleBesideProgram(const char* argv0);

}  // namespace mhwhost
