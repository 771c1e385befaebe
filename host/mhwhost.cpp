// mhwhost: runs a module's machine life cycle on an INI file and prints what happens: the
// drive report, the boot device and the first bytes of its boot program, a read of every
// sector of the mounted disks through INT 1Bh compared with their image files, a snapshot saved
// and loaded back, and the power-off.
//
//   mhwhost [--module PATH] [--ticks N] [--write] INI
//
// The module defaults to disk.mhw beside this program. --write also writes and formats the last
// track of each mounted disk (this changes the image files).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "disk_checks.h"
#include "reference_host.h"

namespace {

std::string DefaultModulePath(const char* argv0) {
  std::string self = argv0;
  std::size_t slash = self.find_last_of("/\\");
  return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "disk.mhw";
}

void PrintReport(mhwhost::ReferenceHost& host) {
  for (const auto& line : host.reportLines) std::printf("report: %s\n", line.c_str());
  host.reportLines.clear();
}

int Usage() {
  std::fprintf(stderr, "usage: mhwhost [--module PATH] [--ticks N] [--write] INI\n");
  return 2;
}

// The four image paths as the module's snapshot record names them: floppy 1, floppy 2, hard
// disk 1, hard disk 2. Empty for a drive with nothing mounted at start-up.
struct MountedPaths {
  std::string paths[4];
};
MountedPaths PathsOf(const std::vector<std::uint8_t>& record) {
  MountedPaths mounted;
  for (std::size_t i = 0; i < 4 && record.size() >= 7 + 260 * (i + 1); ++i)
    mounted.paths[i] = reinterpret_cast<const char*>(&record[7 + 260 * i]);
  return mounted;
}

void PrintBootDevice(mhwhost::ReferenceHost& host) {
  const std::uint16_t cs = host.SegmentValue(mhw::reg::kCS), ip = host.IP();
  std::printf("boot device (0x584): 0x%02X, start CS:IP = %04X:%04X\n", host.ReadByte(0x584), cs,
              ip);
  std::printf("boot program:");
  for (std::uint8_t byte : host.ReadBlock(cs * 16u + ip, 16)) std::printf(" %02X", byte);
  std::printf("\n");
}

bool Check(const char* what, const mhwhost::CheckResult& result) {
  std::printf("%s: %s\n", what, result.summary.c_str());
  return result.ok;
}

}  // namespace

int main(int argc, char** argv) {
  std::string modulePath = DefaultModulePath(argv[0]);
  std::string iniPath;
  unsigned long ticks = 100;
  bool write = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--module") == 0 && i + 1 < argc) {
      modulePath = argv[++i];
    } else if (std::strcmp(argv[i], "--ticks") == 0 && i + 1 < argc) {
      ticks = std::strtoul(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--write") == 0) {
      write = true;
    } else if (argv[i][0] == '-' || !iniPath.empty()) {
      return Usage();
    } else {
      iniPath = argv[i];
    }
  }
  if (iniPath.empty()) return Usage();

  mhwhost::ReferenceHost host;
  if (!host.Attach(modulePath, iniPath)) {
    std::fprintf(stderr, "mhwhost: %s\n", host.module().error().c_str());
    return 1;
  }
  char banner[256] = {};
  std::uint32_t length = host.module().deviceVer(banner);
  std::printf("module: %s\nbanner: %s (%u characters)\n", modulePath.c_str(), banner, length);
  for (const auto& item : host.menus) {
    char label[32] = {};
    item.label(label);
    std::printf("menu %u: %s [%s]\n", item.id, item.caption.c_str(), label);
  }

  std::printf("-- reset\n");
  host.Reset();
  PrintReport(host);
  std::printf("-- BIOS start-up\n");
  host.Startup();
  PrintReport(host);
  std::printf("hard disks present (0x55D): 0x%02X\n", host.ReadByte(0x55D));
  PrintBootDevice(host);

  bool ok = true;
  const MountedPaths mounted = PathsOf(host.SaveSnapshot());
  std::printf("-- every sector through INT 1Bh\n");
  for (int unit = 0; unit < 2; ++unit) {
    const std::string& floppy = mounted.paths[unit];
    const std::string& disk = mounted.paths[2 + unit];
    if (!floppy.empty())
      ok &=
          Check(unit == 0 ? "floppy 1" : "floppy 2", mhwhost::ReadWholeFloppy(host, unit, floppy));
    if (!disk.empty())
      ok &= Check(unit == 0 ? "hard disk 1" : "hard disk 2",
                  mhwhost::ReadWholeHardDisk(host, unit, disk));
  }
  if (write) {
    std::printf("-- write and format a track\n");
    for (int unit = 0; unit < 2; ++unit) {
      if (!mounted.paths[unit].empty())
        ok &= Check(unit == 0 ? "floppy 1" : "floppy 2",
                    mhwhost::WriteAndFormatFloppyTrack(host, unit));
      if (!mounted.paths[2 + unit].empty())
        ok &= Check(unit == 0 ? "hard disk 1" : "hard disk 2",
                    mhwhost::WriteAndFormatHardDiskTrack(host, unit));
    }
  }

  std::printf("-- snapshot\n");
  const std::vector<std::uint8_t> record = host.SaveSnapshot();
  std::printf("saved %zu bytes, version \"%s\"\n", record.size(),
              reinterpret_cast<const char*>(record.data()));
  host.PowerOff();
  const bool taken = host.LoadSnapshot(record);
  std::printf("loaded after power-off: %s\n", taken ? "taken" : "REFUSED");
  ok &= taken;
  const MountedPaths restored = PathsOf(host.SaveSnapshot());
  for (int i = 0; i < 4; ++i)
    if (!restored.paths[i].empty()) std::printf("  mounted again: %s\n", restored.paths[i].c_str());

  std::printf("-- %lu ticks\n", ticks);
  host.Tick(static_cast<std::uint32_t>(ticks));
  std::printf("interrupts raised: %zu\n", host.TakeInterruptLines().size());
  std::printf("-- power off\n");
  host.PowerOff();
  PrintReport(host);
  std::printf("%s\n", ok ? "all checks passed" : "SOME CHECKS FAILED");
  return ok ? 0 : 1;
}
