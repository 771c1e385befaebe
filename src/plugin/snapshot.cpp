#include <cstring>

#include "plugin/disk_system.h"
#include "plugin/machine_handlers.h"

namespace disk {
namespace {
constexpr char kSnapshotVersion[] = "000808";
constexpr int kPathFields = 7;
}  // namespace

void MHW_CALL SaveState(std::uint8_t* buffer) {
  std::memset(buffer, 0, mhw::kSnapshotSize);
  std::memcpy(buffer, kSnapshotVersion, sizeof kSnapshotVersion);
  const DiskSystem& system = TheDiskSystem();
  for (int i = 0; i < kImageCount; ++i)
    std::strcpy(reinterpret_cast<char*>(buffer + kPathFields + i * kPathSize),
                system.imagePaths[i]);
}

std::uint32_t MHW_CALL LoadState(const std::uint8_t* buffer) {
  if (std::strcmp(reinterpret_cast<const char*>(buffer), kSnapshotVersion) != 0) return 0;
  DiskSystem& system = TheDiskSystem();
  for (int i = 0; i < kImageCount; ++i)
    CopyString(system.imagePaths[i],
               reinterpret_cast<const char*>(buffer + kPathFields + i * kPathSize), kPathSize);
  system.running = 1;
  return 1;
}

}  // namespace disk
