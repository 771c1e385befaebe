// The command line: commands, their options and help, the exit codes, and what every command
// gets to work with.
#pragma once

#include <map>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "progress.h"

namespace diskimg {

enum Exit : int {
  kExitOk = 0,
  kExitProblems = 1,  // problems found, a loss refused, or a file-system operation refused
  kExitUsage = 2,     // the command line, or a command that does not apply to the image
  kExitInput = 3,     // an input that cannot be read or is no image
  kExitOutput = 4,    // the output could not be written (the input is untouched)
};

inline constexpr const char* kVersion = "1.0";

// What a command works with: its arguments and options, where to write, and the common flags.
class Context {
 public:
  Context(std::ostream& output, std::ostream& errors)
      : out(output), err(errors), progress(errors, false) {}

  std::ostream& out;
  std::ostream& err;
  Progress progress;
  std::vector<std::string> args;              // positional arguments after the command
  std::map<std::string, std::string> values;  // options given, by name ("--to"); flags map to ""
  bool json = false;
  bool quiet = false;
  bool dryRun = false;

  bool Has(const std::string& option) const { return values.count(option) != 0; }
  std::string Value(const std::string& option, const std::string& fallback = "") const {
    auto it = values.find(option);
    return it == values.end() ? fallback : it->second;
  }
  // "diskimg: subject: message" on stderr; returns `code`.
  int Fail(int code, const std::string& subject, const std::string& message);
  // A line for people on stdout, left out with --quiet.
  void Say(const std::string& line);
  // A usage error: the message and the command's synopsis on stderr.
  int Usage(const std::string& message);

  const struct Command* command = nullptr;
};

struct Option {
  const char* name;   // "--to"
  const char* value;  // the value's placeholder ("FORMAT"); null for a flag
  const char* help;
};

struct Command {
  const char* name;
  const char* synopsis;  // arguments after the name
  const char* summary;
  std::vector<Option> options;
  int minArgs;
  int maxArgs;  // -1: any number
  bool reads;   // takes --json
  bool writes;  // takes --dry-run
  int (*run)(Context& context);
};

// Runs the program on its arguments (without the program name); returns the exit code.
int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The commands, each in the file of its group.
int RunInfo(Context& c);
int RunCheck(Context& c);
int RunConvert(Context& c);
int RunCreate(Context& c);
int RunProtect(Context& c);
int RunComment(Context& c);
int RunReadDrive(Context& c);
int RunList(Context& c);
int RunGet(Context& c);
int RunPut(Context& c);
int RunRemove(Context& c);
int RunMakeDirectory(Context& c);

}  // namespace diskimg
