// mhwhost: runs a module's machine life cycle on an INI file and prints what happens.
//
//   mhwhost [--module PATH] [--ticks N] INI
//
// The module defaults to disk.mhw beside this program.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
  std::fprintf(stderr, "usage: mhwhost [--module PATH] [--ticks N] INI\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string modulePath = DefaultModulePath(argv[0]);
  std::string iniPath;
  unsigned long ticks = 100;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--module") == 0 && i + 1 < argc) {
      modulePath = argv[++i];
    } else if (std::strcmp(argv[i], "--ticks") == 0 && i + 1 < argc) {
      ticks = std::strtoul(argv[++i], nullptr, 10);
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
  std::printf("boot device (0x584): 0x%02X, start CS:IP = %04X:%04X\n", host.ReadByte(0x584),
              host.SegmentValue(mhw::reg::kCS), host.IP());
  std::printf("-- %lu ticks\n", ticks);
  host.Tick(static_cast<std::uint32_t>(ticks));
  std::printf("interrupts raised: %zu\n", host.TakeInterruptLines().size());
  std::printf("-- power off\n");
  host.PowerOff();
  PrintReport(host);
  return 0;
}
