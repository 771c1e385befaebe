#include "cli.h"

#include <algorithm>
#include <cstring>

namespace diskimg {
namespace {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"info",
       "IMAGE...",
       "Format, geometry, comment, write protection and disk count of each image, with warnings.",
       {{"--tracks", nullptr, "add the map of every track's sectors"}},
       1,
       -1,
       true,
       false,
       RunInfo},
      {"check",
       "IMAGE...",
       "One line per problem in each image, then CRC-32 and SHA-1 of its data. Exit 1 when "
       "problems are found.",
       {{"--strict", nullptr, "warnings count as problems"}},
       1,
       -1,
       true,
       false,
       RunCheck},
      {"convert",
       "IN[::DISK] OUT --to mfd|mfd-r0|d88|raw|fdi|mhd|hdi",
       "Writes the image in another format. What the target cannot hold is listed; a conversion "
       "that loses data is refused unless --allow-loss.",
       {{"--to", "FORMAT", "the target format"},
        {"--allow-loss", nullptr, "write even when data are lost"},
        {"--split", nullptr, "one file per disk of a D88 file: OUT-1.EXT, OUT-2.EXT, ..."}},
       2,
       2,
       false,
       true,
       RunConvert},
      {"create",
       "floppy|hd OUT",
       "A new image: a floppy with every track formatted (--unformatted: none, as the NEW FD "
       "IMAGE dialog makes it), or a hard disk of 8 heads and 32 sectors of 512 bytes. --format "
       "FAT adds an empty file system as PC-98 MS-DOS lays it out (hard disks: with the PC-98 "
       "partition table and one partition).",
       {{"--media", "1.23M|1.44M|640K|720K", "floppy medium (default 1.23M)"},
        {"--size", "MB", "hard-disk size in megabytes, 1 to 4095"},
        {"--format", "FAT", "put an empty FAT file system on it"},
        {"--unformatted", nullptr, "a floppy without any sector"},
        {"--to", "FORMAT",
         "floppy: mfd-r0 (default), mfd, d88, raw, fdi; hard disk: mhd "
         "(default), hdi"}},
       2,
       2,
       false,
       true,
       RunCreate},
      {"protect",
       "IMAGE[::DISK] on|off",
       "Sets or clears the write protection of an MFD or D88 image.",
       {},
       2,
       2,
       false,
       true,
       RunProtect},
      {"comment",
       "IMAGE[::DISK] [TEXT]",
       "Shows the comment of an MFD or MHD image or the name of a D88 disk, or sets it to TEXT.",
       {},
       1,
       2,
       true,
       true,
       RunComment},
      {"read-drive",
       "DRIVE OUT",
       "Copies a floppy from a real drive into an MFD image. DRIVE is a letter (A: the raw "
       "volume on Windows, /dev/fd0 elsewhere, or what DISK_RAW_DRIVE_A names) or a device path.",
       {{"--media", "1.23M|1.44M", "the medium in the drive (default 1.23M)"},
        {"--to", "FORMAT", "mfd-r0 (default), mfd, d88, raw, fdi"}},
       2,
       2,
       false,
       true,
       RunReadDrive},
      {"ls",
       "IMAGE[::DISK][:PART] [PATH]",
       "Lists a directory (or one file) of the FAT file system on the image.",
       {},
       1,
       2,
       true,
       false,
       RunList},
      {"get",
       "IMAGE[::DISK][:PART] PATH... DEST",
       "Copies files out of the image, keeping their dates. DEST is a folder, or a file name when "
       "one PATH is given.",
       {},
       3,
       -1,
       false,
       false,
       RunGet},
      {"put",
       "IMAGE[::DISK][:PART] FILE... [PATH]",
       "Copies host files into the image, keeping their dates. A last argument that is no host "
       "file names the directory in the image to put them in, or for one FILE its new name; "
       "otherwise they go into the root.",
       {},
       2,
       -1,
       false,
       true,
       RunPut},
      {"rm",
       "IMAGE[::DISK][:PART] PATH...",
       "Removes files and empty directories.",
       {},
       2,
       -1,
       false,
       true,
       RunRemove},
      {"mkdir",
       "IMAGE[::DISK][:PART] PATH...",
       "Makes directories.",
       {},
       2,
       -1,
       false,
       true,
       RunMakeDirectory},
  };
  return commands;
}

void PrintOption(std::ostream& out, const char* name, const char* value, const char* help) {
  std::string left = std::string("  ") + name + (value ? std::string(" ") + value : "");
  out << left << std::string(left.size() < 32 ? 32 - left.size() : 1, ' ') << help << '\n';
}

void PrintHelp(std::ostream& out, const Command& command) {
  out << "usage: diskimg " << command.name << ' ' << command.synopsis << " [options]\n\n"
      << command.summary << "\n\noptions:\n";
  for (const Option& option : command.options)
    PrintOption(out, option.name, option.value, option.help);
  if (command.reads) PrintOption(out, "--json", nullptr, "output as JSON");
  if (command.writes)
    PrintOption(out, "--dry-run, -n", nullptr, "change nothing, say what would be done");
  PrintOption(out, "--quiet, -q", nullptr, "only errors");
  PrintOption(out, "--help, -h", nullptr, "this text");
}

void PrintOverview(std::ostream& out) {
  out << "usage: diskimg COMMAND [options] [arguments]\n\n"
         "PC-98 disk images: MFD (R0, R1), D88, headerless and FDI floppies, MHD, HDI and ZHD "
         "hard disks.\n\ncommands:\n";
  for (const Command& command : Commands())
    out << "  " << command.name << ' ' << command.synopsis << '\n';
  out << "\n'diskimg COMMAND --help' describes a command. Exit codes: 0 done, 1 problems found or "
         "loss refused, 2 usage, 3 input unreadable or unrecognised, 4 output failed.\n";
}

}  // namespace

int Context::Fail(int code, const std::string& subject, const std::string& message) {
  err << "diskimg: " << (subject.empty() ? "" : subject + ": ") << message << '\n';
  return code;
}

void Context::Say(const std::string& line) {
  if (!quiet) out << line << '\n';
}

int Context::Usage(const std::string& message) {
  err << "diskimg: " << message << '\n';
  if (command) err << "usage: diskimg " << command->name << ' ' << command->synopsis << '\n';
  return kExitUsage;
}

int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    if (args.size() > 1)
      args = args.subspan(1, 1);  // "help convert"
    else {
      PrintOverview(args.empty() ? err : out);
      return args.empty() ? kExitUsage : kExitOk;
    }
    std::vector<std::string> asked = {args[0], "--help"};
    return Run(asked, out, err);
  }
  if (args[0] == "--version") {
    out << "diskimg " << kVersion << '\n';
    return kExitOk;
  }
  const auto& commands = Commands();
  const auto found = std::find_if(commands.begin(), commands.end(),
                                  [&](const Command& c) { return args[0] == c.name; });
  Context context(out, err);
  if (found == commands.end()) return context.Usage("unknown command '" + args[0] + "'");
  const Command& command = *found;
  context.command = &command;

  bool optionsEnd = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
      context.args.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnd = true;
    } else if (arg == "--help" || arg == "-h") {
      PrintHelp(out, command);
      return kExitOk;
    } else if (arg == "--quiet" || arg == "-q") {
      context.quiet = true;
    } else if (command.reads && arg == "--json") {
      context.json = true;
    } else if (command.writes && (arg == "--dry-run" || arg == "-n")) {
      context.dryRun = true;
    } else {
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(0, equals);
      const auto option = std::find_if(command.options.begin(), command.options.end(),
                                       [&](const Option& o) { return name == o.name; });
      if (option == command.options.end()) return context.Usage("unknown option " + arg);
      if (option->value == nullptr) {
        if (equals != std::string::npos) return context.Usage(name + " takes no value");
        context.values[name] = "";
      } else if (equals != std::string::npos) {
        context.values[name] = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        context.values[name] = args[++i];
      } else {
        return context.Usage(name + " needs a value: " + option->value);
      }
    }
  }
  const int count = static_cast<int>(context.args.size());
  if (count < command.minArgs || (command.maxArgs >= 0 && count > command.maxArgs))
    return context.Usage(count < command.minArgs ? "too few arguments" : "too many arguments");
  context.progress.SetQuiet(context.quiet);
  return command.run(context);
}

}  // namespace diskimg
