#include "hdd/hard_disk_drive.h"

#include <cstring>

#include "hdd/hard_disk_image.h"
#include "plugin/disk_system.h"
#include "plugin/file_routines.h"
#include "plugin/guest_memory.h"
#include "plugin/guest_registers.h"
#include "plugin/work_area.h"

namespace disk {
namespace {

constexpr std::uint16_t kBootSegment = 0x1FC0;
constexpr std::uint32_t kBootProgramSize = 1024;
// Image files stay below 2 GiB: the platform takes file positions as signed 32-bit numbers.
constexpr std::uint32_t kReachableEnd = 0x80000000u;

// How many of `count` bytes at `position` lie below 2 GiB.
std::uint32_t ReachableCount(std::uint32_t position, std::uint32_t count) {
  if (position >= kReachableEnd) return 0;
  return count < kReachableEnd - position ? count : kReachableEnd - position;
}

}  // namespace

bool HardDiskDrive::OpenImage(const char* path) {
  CloseImage();
  file = OpenImageReadWrite(path);
  if (file == platform::kNoFile) return false;
  std::uint8_t header[kHardDiskHeaderRead];
  if (ReadFileBytes(file, header, sizeof header) != sizeof header) {
    CloseImage();
    return false;
  }
  const HardDiskGeometry geometry = RecognizeHardDiskImage(header);
  dataOffset = geometry.dataOffset;
  cylinders = geometry.cylinders;
  heads = geometry.heads;
  sectors = geometry.sectors;
  sectorSize = geometry.sectorSize;

  CopyString(imagePath, path, kPathSize);
  daUa = static_cast<std::uint8_t>(0x80 + unit);
  const DiskSystem& system = TheDiskSystem();
  WriteGuestByte(
      system, work_area::kHardDiskUnits,
      static_cast<std::uint8_t>(ReadGuestByte(system, work_area::kHardDiskUnits) | (1u << unit)));
  return true;
}

void HardDiskDrive::CloseImage() {
  if (file != platform::kNoFile) CloseFile(file);
  file = platform::kNoFile;
}

bool HardDiskDrive::BootFromImage() {
  if (registers == nullptr) return false;
  RegisterView regs(registers);
  regs.SetSegment(mhw::reg::kCS, kBootSegment);
  regs.SetIP(0);
  std::uint8_t program[kBootProgramSize];
  if (SeekFailed(file, dataOffset) != 0 ||
      ReadFileBytes(file, program, sizeof program) != sizeof program)
    return false;
  DiskSystem& system = TheDiskSystem();
  CopyToGuest(system, kBootSegment, 0, program, sizeof program);
  WriteGuestByte(system, work_area::kBootDevice, daUa);
  return true;
}

void HardDiskDrive::ReadImage(std::uint32_t position, std::uint8_t* buffer,
                              std::uint32_t count) const {
  // What lies past the end of the file reads as zeros, like a disk never written.
  std::memset(buffer, 0, count);
  const std::uint32_t reachable = ReachableCount(position, count);
  if (reachable == 0 || SeekFailed(file, position) != 0) return;
  ReadFileBytes(file, buffer, reachable);
}

void HardDiskDrive::WriteImage(std::uint32_t position, const std::uint8_t* buffer,
                               std::uint32_t count) const {
  const std::uint32_t reachable = ReachableCount(position, count);
  if (reachable == 0 || SeekFailed(file, position) != 0) return;
  WriteFileBytes(file, buffer, reachable);
}

}  // namespace disk
