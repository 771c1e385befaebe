#include "media/hard_disk_drive.h"

#include <cstring>

#include "bios/guest_memory.h"
#include "bios/guest_registers.h"
#include "bios/work_area.h"
#include "formats/hard_disk_formats.h"
#include "machine/disk_system.h"
#include "media/file_routines.h"

namespace disk {
namespace {

constexpr std::uint16_t kBootSegment = 0x1FC0;
constexpr std::uint32_t kBootProgramSize = 1024;

}  // namespace

HardDiskRefusal ExamineHardDiskImage(platform::FileHandle file, HardDiskGeometry& geometry) {
  std::uint8_t header[kHardDiskHeaderRead];
  if (ReadFileBytes(file, header, sizeof header) != sizeof header)
    return HardDiskRefusal::kShortFile;
  geometry = RecognizeHardDiskImage(header);
  return CheckHardDiskGeometry(geometry);
}

bool HardDiskDrive::OpenImage(const char* path) {
  CloseImage();
  bool readOnly = false;
  file = OpenImageAsMarked(path, readOnly);
  if (file == platform::kNoFile) return false;
  HardDiskGeometry geometry;
  if (ExamineHardDiskImage(file, geometry) != HardDiskRefusal::kNone) {
    CloseImage();
    return false;
  }
  writeProtect = readOnly ? 1 : 0;
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
  if (count == 0 || SeekFailed(file, position) != 0) return;
  ReadFileBytes(file, buffer, count);
}

bool HardDiskDrive::WriteImage(std::uint32_t position, const std::uint8_t* buffer,
                               std::uint32_t count) const {
  if (count == 0) return true;
  return SeekFailed(file, position) == 0 && WriteFileBytes(file, buffer, count) == count;
}

}  // namespace disk
