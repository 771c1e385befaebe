#include "fdc/fdc_sector_io.h"

#include <cstring>

#include "fdd/floppy_drive.h"
#include "plugin/file_routines.h"

namespace disk {

void ReadSectorData(FloppyDrive& drive, std::uint32_t offset, std::uint8_t* buffer,
                    std::uint32_t length) {
  // A sector whose data lie beyond the end of the file reads as zeros rather than as whatever
  // an earlier sector left in the buffer.
  std::memset(buffer, 0, length);
  if (drive.file == kRealDriveFile) return;
  if (SeekFailed(drive.file, offset) != 0) return;
  ReadFileBytes(drive.file, buffer, length);
}

void WriteSectorData(FloppyDrive& drive, std::uint32_t offset, const std::uint8_t* buffer,
                     std::uint32_t length) {
  if (drive.file == kRealDriveFile) return;
  if (SeekFailed(drive.file, offset) != 0) return;
  WriteFileBytes(drive.file, buffer, length);
}

}  // namespace disk
