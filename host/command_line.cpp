#include "command_line.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace mhwhost {
namespace {

// Digits only: strtoul would take "-5" as a huge number and "abc" as 0.
bool ParseTicks(const char* text, unsigned long& ticks) {
  if (*text == '\0' || std::strlen(text) > 7) return false;
  unsigned long value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
    value = value * 10 + static_cast<unsigned long>(*c - '0');
  }
  if (value > kMaxTicks) return false;
  ticks = value;
  return true;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& problem) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--write") {
      options.write = true;
    } else if (arg == "--module" || arg == "--ticks") {
      if (!hasValue) {
        problem = arg + " needs a value";
        return false;
      }
      const char* value = argv[++i];
      if (arg == "--module") {
        options.modulePath = value;
      } else if (!ParseTicks(value, options.ticks)) {
        problem = "--ticks takes a whole number from 0 to " + std::to_string(kMaxTicks) +
                  ", not \"" + value + "\"";
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      problem = "unknown option " + arg;
      return false;
    } else if (!options.iniPath.empty()) {
      problem = "one INI file only (" + options.iniPath + " and " + arg + ")";
      return false;
    } else {
      options.iniPath = arg;
    }
  }
  if (options.iniPath.empty() && !options.help && !options.version) {
    problem = "no INI file given";
    return false;
  }
  return true;
}

const char* UsageLine() {
  return "usage: mhwhost [--module PATH] [--ticks N] [--write] INI\n"
         "       mhwhost --help | --version\n";
}

const char* VersionText() {
  return "mhwhost 1.1, the reference host of the disk module disk.mhw\n";
}

const char* HelpText() {
  return "mhwhost runs the disk module (disk.mhw) as a PC-9801 emulator would, on the drives\n"
         "that the section [DISK] of an INI file names, and checks that every named disk\n"
         "mounts and reads back as its image file holds it.\n"
         "\n"
         "It prints the module's drive report at reset, the boot device after the BIOS\n"
         "start-up, then reads every sector of each named floppy disk and hard disk through\n"
         "INT 1Bh (DA/UA and track layout as the disk's own IDs give them) and compares it\n"
         "with the file, saves a snapshot and loads it back after a power-off, runs the\n"
         "periodic ticks and powers off. A named image that does not mount is a failure,\n"
         "with its reason: file missing, unreadable, unknown format, too short, refused\n"
         "header.\n"
         "\n"
         "INI keys read from [DISK]: DISK00, DISK01 (floppy drives 1, 2), DISK02, DISK03\n"
         "(hard disks 1, 2), blnImage00/01 (0 = a real floppy drive), szFdd00/01 (its\n"
         "letter), byType00/01 (1 = 1.44 MB media), FDWAIT (1 = floppy access wait on).\n"
         "\n"
         "Options:\n"
         "  --module PATH  the module file (default: disk.mhw beside this program)\n"
         "  --ticks N      periodic ticks before the power-off, 0 to 1000000 (default 100)\n"
         "  --write        also write, read back and format the last track of each disk;\n"
         "                this changes the image files\n"
         "  --help         this text\n"
         "  --version      the program's version\n"
         "\n"
         "Exit status:\n"
         "  0  every check passed\n"
         "  1  a check failed: a named disk did not mount, or read or wrote other data\n"
         "     than its image file holds\n"
         "  2  wrong options\n"
         "  3  nothing could be checked: the INI file is missing, has no [DISK] section or\n"
         "     names no disk, or the module cannot be loaded\n";
}

std::string ModuleBesideProgram(const char* argv0) {
  namespace fs = std::filesystem;
  fs::path program;
#if defined(_WIN32)
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) program = path;
#else
  std::error_code error;
  program = fs::read_symlink("/proc/self/exe", error);
  if (error) program.clear();
#endif
  if (program.empty()) {
    // Without /proc: the name the program was started by, links followed.
    std::error_code failed;
    program = fs::weakly_canonical(fs::path(argv0), failed);
    if (failed) program = argv0;
  }
  return (program.parent_path() / "disk.mhw").string();
}

}  // namespace mhwhost
