// mhwhost: runs a module's machine life cycle on the drives an INI file names and checks each of
// them: the drive report, the boot device and the first bytes of its boot program, a read of
// every sector of each named disk through INT 1Bh compared with its image file, optionally a
// track written and formatted, a snapshot saved and loaded back, and the power-off. A named disk
// that did not mount is a failure with its reason. `mhwhost --help` tells the rest.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "command_line.h"
#include "disk_checks.h"
#include "floppy_layout.h"
#include "image_look.h"
#include "named_drives.h"
#include "reference_host.h"

namespace mhwhost {
namespace {

constexpr std::size_t kPathField = 260, kFirstPath = 7;  // the snapshot record's path fields

// The four image paths as the module's snapshot record names them, in the INI's drive order.
// Empty for a drive with nothing mounted.
std::vector<std::string> MountedPaths(ReferenceHost& host) {
  const std::vector<std::uint8_t> record = host.SaveSnapshot();
  std::vector<std::string> paths(kNamedDrives);
  for (std::size_t i = 0; i < paths.size() && record.size() >= kFirstPath + kPathField * (i + 1);
       ++i)
    paths[i] = reinterpret_cast<const char*>(&record[kFirstPath + kPathField * i]);
  return paths;
}

std::vector<std::string> PrintReport(ReferenceHost& host) {
  std::vector<std::string> lines;
  lines.swap(host.reportLines);
  for (const auto& line : lines) std::printf("report: %s\n", line.c_str());
  return lines;
}

void PrintBootDevice(ReferenceHost& host) {
  const std::uint16_t cs = host.SegmentValue(mhw::reg::kCS), ip = host.IP();
  std::printf("boot device (0x584): 0x%02X, start CS:IP = %04X:%04X\n", host.ReadByte(0x584), cs,
              ip);
  std::printf("boot program:");
  for (std::uint8_t byte : host.ReadBlock(cs * 16u + ip, 16)) std::printf(" %02X", byte);
  std::printf("\n");
}

// Every check's outcome: printed as it comes, the failures and warnings repeated on stderr at
// the end, one line each.
class Tally {
 public:
  void Add(const std::string& what, const std::string& where, const CheckResult& result) {
    std::printf("%s: %s\n", what.c_str(), result.summary.c_str());
    ++checks_;
    if (!result.ok) failures_.push_back(Line(what, where, result.summary));
  }
  void Warn(const std::string& what, const std::string& where, const std::string& warning) {
    std::printf("%s: WARNING: %s\n", what.c_str(), warning.c_str());
    warnings_.push_back(Line(what, where, "warning: " + warning));
  }
  int Finish() const {
    std::fflush(stdout);
    for (const auto& line : warnings_) std::fprintf(stderr, "%s\n", line.c_str());
    for (const auto& line : failures_) std::fprintf(stderr, "%s\n", line.c_str());
    if (failures_.empty() && checks_ > 0) {
      std::printf("all %d checks passed\n", checks_);
      return kExitPassed;
    }
    std::printf("%zu of %d checks FAILED\n", failures_.size(), checks_);
    return kExitFailed;
  }

 private:
  static std::string Line(const std::string& what, const std::string& where,
                          const std::string& text) {
    return "mhwhost: " + what + (where.empty() ? "" : " (" + where + ")") + ": " + text;
  }
  int checks_ = 0;
  std::vector<std::string> failures_, warnings_;
};

// Why a named hard disk is not mounted: the module's own word in its drive report when it gives
// one, else what a plain look at the file shows.
std::string HardDiskRefusal(int unit, const std::string& path,
                            const std::vector<std::string>& resetReport) {
  const std::string prefix = "  HDD" + std::to_string(unit + 1) + " : ";
  std::string reported;
  for (const auto& line : resetReport)
    if (line.rfind(prefix, 0) == 0) reported = line.substr(prefix.size());
  const std::string refused = "Not mounted, ";
  if (reported.rfind(refused, 0) == 0) return reported.substr(refused.size());
  const ImageLook look = LookAt(path);
  if (!look.problem.empty()) return look.problem;
  const HardDiskShape shape = HardDiskShapeOf(look);
  if (!shape.problem.empty()) return shape.problem;
  return std::string("the module did not mount it") +
         (look.readOnly ? " (the file is read-only)" : "") +
         (reported.empty() ? "" : "; its drive report says \"" + reported + "\"");
}

std::string FloppyRefusal(const std::string& path) {
  const ImageLook look = LookAt(path);
  if (!look.problem.empty()) return look.problem;
  const FloppyShape shape = FloppyShapeOf(look);
  if (!shape.problem.empty()) return shape.problem;
  return "the module did not mount it, though it has the shape of a " + shape.format + " image";
}

class Run {
 public:
  Run(ReferenceHost& host, const NamedDrives& named) : host_(host), named_(named) {}

  // Every named disk: mounted, then read whole.
  void ReadAll(const std::vector<std::string>& mounted, const std::vector<std::string>& report) {
    for (int drive = 0; drive < kNamedDrives; ++drive) {
      const std::string& path = named_.paths[drive];
      if (path.empty()) continue;
      const int unit = drive % 2;
      if (mounted[drive].empty()) {
        const std::string why =
            drive < 2 ? FloppyRefusal(path) : HardDiskRefusal(unit, path, report);
        tally_.Add(Name(drive), Where(drive), {false, "NOT MOUNTED: " + why});
      } else if (drive < 2) {
        ReadFloppy(unit);
      } else {
        const ImageLook look = LookAt(path);
        const HardDiskShape shape = HardDiskShapeOf(look);
        if (!shape.warning.empty()) tally_.Warn(Name(drive), Where(drive), shape.warning);
        tally_.Add(Name(drive), Where(drive), ReadWholeHardDisk(host_, unit, path, shape));
      }
    }
  }

  void WriteAll(const std::vector<std::string>& mounted) {
    for (int drive = 0; drive < kNamedDrives; ++drive) {
      if (named_.paths[drive].empty() || mounted[drive].empty()) continue;
      const int unit = drive % 2;
      const std::string& path = named_.paths[drive];
      if (drive < 2) {
        const std::string medium = Medium(unit);
        const ImageLook look = LookAt(medium);
        const bool expectProtected =
            look.readOnly || (!named_.realDrive[unit] && FloppyShapeOf(look).headerProtected);
        tally_.Add(Name(drive), Where(drive),
                   WriteAndFormatFloppyTrack(host_, unit, tracks_[unit], medium, expectProtected));
      } else {
        const ImageLook look = LookAt(path);
        tally_.Add(
            Name(drive), Where(drive),
            WriteAndFormatHardDiskTrack(host_, unit, path, HardDiskShapeOf(look), look.readOnly));
      }
    }
  }

  void SnapshotRemounts(const std::vector<std::string>& mounted) {
    std::printf("-- snapshot\n");
    const std::vector<std::uint8_t> record = host_.SaveSnapshot();
    std::printf("saved %zu bytes, version \"%s\"\n", record.size(),
                reinterpret_cast<const char*>(record.data()));
    host_.PowerOff();
    const bool taken = host_.LoadSnapshot(record);
    const std::vector<std::string> restored = MountedPaths(host_);
    for (const auto& path : restored)
      if (!path.empty()) std::printf("  mounted again: %s\n", path.c_str());
    tally_.Add("snapshot", "",
               {taken && restored == mounted,
                std::string(taken ? "taken" : "REFUSED") + " after the power-off" +
                    (restored == mounted ? ", the same disks mounted again"
                                         : ", NOT the same disks mounted again")});
  }

  int Finish() const { return tally_.Finish(); }

 private:
  static std::string Name(int drive) { return NamedDrives::Name(drive); }
  std::string Where(int drive) const {
    return std::string(NamedDrives::Key(drive)) + "=" + named_.paths[drive];
  }
  std::string Medium(int unit) const {
    return named_.realDrive[unit] ? RealDriveMedium(named_.letter[unit]) : named_.paths[unit];
  }

  void ReadFloppy(int unit) {
    const std::string medium = Medium(unit);
    if (named_.realDrive[unit]) {
      const ImageLook look = LookAt(medium);
      if (!look.problem.empty()) {
        tally_.Add(Name(unit), Where(unit),
                   {false, "the medium of real drive " + std::string(1, named_.letter[unit]) +
                               " (" + medium + "): " + look.problem});
        return;
      }
    }
    tracks_[unit] = FindFloppyTracks(host_, unit);
    tally_.Add(Name(unit), Where(unit),
               ReadWholeFloppy(
                   host_, unit, tracks_[unit], medium,
                   named_.realDrive[unit] ? std::nullopt : std::optional<bool>(named_.fdWait)));
  }

  ReferenceHost& host_;
  const NamedDrives& named_;
  Tally tally_;
  std::vector<FloppyTrack> tracks_[2];
};

void PrintNamed(const NamedDrives& named, const std::string& ini) {
  std::printf("-- the drives %s names\n", ini.c_str());
  for (int drive = 0; drive < kNamedDrives; ++drive) {
    std::printf("%s (%s): %s", NamedDrives::Name(drive), NamedDrives::Key(drive),
                named.paths[drive].empty() ? "none" : named.paths[drive].c_str());
    if (drive < 2 && named.realDrive[drive])
      std::printf(", real drive %c with %s media, read from %s", named.letter[drive],
                  named.media144[drive] ? "1.44 MB" : "1.23 MB",
                  RealDriveMedium(named.letter[drive]).c_str());
    std::printf("\n");
  }
  std::printf("floppy wait (FDWAIT): %s\n", named.fdWait ? "on" : "off");
}

int NotChecked(const std::string& problem) {
  std::fprintf(stderr, "mhwhost: %s\n", problem.c_str());
  return kExitNotChecked;
}

int Main(int argc, char** argv) {
  Options options;
  std::string problem;
  if (!ParseCommandLine(argc, argv, options, problem)) {
    std::fprintf(stderr, "mhwhost: %s\n%s", problem.c_str(), UsageLine());
    return kExitUsage;
  }
  if (options.help || options.version) {
    std::fputs(options.help ? HelpText() : VersionText(), stdout);
    return kExitPassed;
  }
  NamedDrives named;
  if (!ReadNamedDrives(options.iniPath, named, problem)) return NotChecked(problem);
  if (!named.NamesAny())
    return NotChecked("the INI file " + options.iniPath +
                      " names no disk: DISK00 to DISK03 in [DISK] are empty");
  // The module reads the file through the profile functions, which take a bare file name as
  // one in the Windows folder.
  std::error_code error;
  const std::string ini = std::filesystem::absolute(options.iniPath, error).string();
  const std::string modulePath =
      options.modulePath.empty() ? ModuleBesideProgram(argv[0]) : options.modulePath;

  ReferenceHost host;
  if (!host.Attach(modulePath, ini))
    return NotChecked("cannot load the module: " + host.module().error());
  char banner[256] = {};
  std::uint32_t length = host.module().deviceVer(banner);
  std::printf("module: %s\nbanner: %s (%u characters)\n", modulePath.c_str(), banner, length);
  for (const auto& item : host.menus) {
    char label[32] = {};
    item.label(label);
    std::printf("menu %u: %s [%s]\n", item.id, item.caption.c_str(), label);
  }
  PrintNamed(named, ini);

  std::printf("-- reset\n");
  host.Reset();
  const std::vector<std::string> resetReport = PrintReport(host);
  std::printf("-- BIOS start-up\n");
  host.Startup();
  PrintReport(host);
  std::printf("hard disks present (0x55D): 0x%02X\n", host.ReadByte(0x55D));
  PrintBootDevice(host);

  Run run(host, named);
  const std::vector<std::string> mounted = MountedPaths(host);
  std::printf("-- every sector through INT 1Bh\n");
  run.ReadAll(mounted, resetReport);
  if (options.write) {
    std::printf("-- write and format a track\n");
    run.WriteAll(mounted);
  }
  run.SnapshotRemounts(mounted);

  std::printf("-- %lu ticks\n", options.ticks);
  host.Tick(static_cast<std::uint32_t>(options.ticks));
  std::printf("interrupts raised: %zu\n", host.TakeInterruptLines().size());
  std::printf("-- power off\n");
  host.PowerOff();
  PrintReport(host);
  return run.Finish();
}

}  // namespace
}  // namespace mhwhost

int main(int argc, char** argv) {
  return mhwhost::Main(argc, argv);
}
