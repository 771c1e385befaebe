#include "media/backing_store.h"

#include <cctype>
#include <cstring>

#include "formats/mfd.h"
#include "media/drive_settings.h"
#include "media/file_routines.h"
#include "media/floppy_drive.h"
#include "platform/raw_volume.h"

namespace disk {
namespace {

char DriveLetter(const RealDriveRecord& record) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(record.driveName[0])));
}

bool RealDriveTransfer(const DriveSettings& settings, const RealDriveRecord& record, void* buffer,
                       std::uint32_t count, bool write) {
  char letter = DriveLetter(record);
  // Without the VWIN32 device (the NT family, and every platform but Windows 9x) the volume is
  // opened for the transfer.
  if (settings.isNT != 0 || settings.vwin32 == 0) {
    // Failures go unnoticed here, as for image files: the guest sees its buffer unchanged.
    if (write)
      platform::WriteRawVolume(letter, record.driveState, buffer, count);
    else
      platform::ReadRawVolume(letter, record.driveState, buffer, count);
    return true;
  }
  SectorSpan span = Vwin32Span(record, count);
  return platform::Vwin32DiskTransfer(settings.vwin32, write, span.drive, span.startSector,
                                      span.sectors, buffer);
}

}  // namespace

const UniformLayout& RealDriveLayout(const RealDriveRecord& record) {
  return record.is144 != 0 ? kRealDrive144 : kRealDrive123;
}

void MountRealDrive(FloppyDrive& drive, const RealDriveRecord& record) {
  drive.file = kRealDriveFile;
  drive.reformattable = 0;
  drive.dataPosition = 0;
  drive.writeProtect = record.writeProtect;
  // The data offsets are byte positions on the disk, sector after sector in track order. The
  // tables fill only the places an MFD R0 header holds; a real drive's media never need more.
  FillUniformTracks(drive, RealDriveLayout(record), 0, mfd::kR0Tracks, mfd::kR0Places);
}

SectorSpan Vwin32Span(const RealDriveRecord& record, std::uint32_t count) {
  // A count that is not a whole number of sectors is cut down to one.
  std::uint32_t sectorSize = record.is144 != 0 ? 512 : 1024;
  return {static_cast<std::uint32_t>(DriveLetter(record) - 'A'), record.driveState / sectorSize,
          count / sectorSize};
}

void ReadSectorData(FloppyDrive& drive, std::uint32_t offset, std::uint8_t* buffer,
                    std::uint32_t length) {
  // A sector whose data lie beyond the end of the file (or a real drive without a disk) reads
  // as zeros rather than as whatever an earlier sector left in the buffer.
  std::memset(buffer, 0, length);
  if (RealDriveRecord* record = drive.RealDrive()) {
    record->driveState = offset;  // where the transfer starts on the disk
    RealDriveTransfer(*drive.settings, *record, buffer, length, false);
  } else {
    ReadFileBytesAt(drive.file, offset, buffer, length);
  }
}

bool WriteSectorData(FloppyDrive& drive, std::uint32_t offset, const std::uint8_t* buffer,
                     std::uint32_t length) {
  if (RealDriveRecord* record = drive.RealDrive()) {
    record->driveState = offset;
    return RealDriveTransfer(*drive.settings, *record, const_cast<std::uint8_t*>(buffer), length,
                             true);
  }
  // A write the file did not take whole (disk full, I/O error) must not look done to the guest.
  return WriteFileBytesAt(drive.file, offset, buffer, length) == length;
}

}  // namespace disk
