#include "media/hard_disk_drive.h"

#include <cstring>

#include "formats/hard_disk_formats.h"
#include "media/file_routines.h"

namespace disk {
namespace {
constexpr std::uint8_t kLinearAddressing = 0x00;  // DA class; 0x80 is cylinder/head/sector
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

  daUa = static_cast<std::uint8_t>(0x80 + unit);
  return true;
}

void HardDiskDrive::CloseImage() {
  if (file != platform::kNoFile) CloseFile(file);
  file = platform::kNoFile;
}

std::uint32_t HardDiskDrive::SectorOffset(std::uint8_t da, std::uint16_t cx, std::uint8_t dh,
                                          std::uint8_t dl) const {
  std::uint32_t sector;
  if ((da & 0xF0) == kLinearAddressing)
    sector = (static_cast<std::uint32_t>((dh << 8) | dl) << 16) + cx;
  else
    sector = (static_cast<std::uint32_t>(cx) * heads + dh) * sectors + dl;
  return sector * sectorSize + dataOffset;
}

void HardDiskDrive::ReadImage(std::uint32_t position, std::uint8_t* buffer,
                              std::uint32_t count) const {
  // What lies past the end of the file reads as zeros, like a disk never written.
  std::memset(buffer, 0, count);
  if (count != 0) ReadFileBytesAt(file, position, buffer, count);
}

bool HardDiskDrive::WriteImage(std::uint32_t position, const std::uint8_t* buffer,
                               std::uint32_t count) const {
  if (count == 0) return true;
  return WriteFileBytesAt(file, position, buffer, count) == count;
}

}  // namespace disk
