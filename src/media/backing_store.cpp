#include "media/backing_store.h"

#include <cctype>

#include "machine/disk_system.h"
#include "media/file_routines.h"
#include "platform/raw_volume.h"

namespace disk {
namespace {

// The unit's real-drive record, or null when the unit takes image files.
RealDriveRecord* RealDrive(DiskSystem& system, std::uint32_t unit) {
  if (unit >= kFloppyUnitCount || system.realDrives[unit].useImage != 0) return nullptr;
  return &system.realDrives[unit];
}

char DriveLetter(const RealDriveRecord& record) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(record.driveName[0])));
}

bool RealDriveTransfer(DiskSystem& system, const RealDriveRecord& record, void* buffer,
                       std::uint32_t count, bool write) {
  char letter = DriveLetter(record);
  // Without the VWIN32 device (the NT family, and every platform but Windows 9x) the volume is
  // opened for the transfer.
  if (system.isNT != 0 || system.vwin32 == 0) {
    // Failures go unnoticed here, as for image files: the guest sees its buffer unchanged.
    if (write)
      platform::WriteRawVolume(letter, record.driveState, buffer, count);
    else
      platform::ReadRawVolume(letter, record.driveState, buffer, count);
    return true;
  }
  SectorSpan span = Vwin32Span(record, count);
  return platform::Vwin32DiskTransfer(system.vwin32, write, span.drive, span.startSector,
                                      span.sectors, buffer);
}

}  // namespace

SectorSpan Vwin32Span(const RealDriveRecord& record, std::uint32_t count) {
  // A count that is not a whole number of sectors is cut down to one.
  std::uint32_t sectorSize = record.is144 != 0 ? 512 : 1024;
  return {static_cast<std::uint32_t>(DriveLetter(record) - 'A'), record.driveState / sectorSize,
          count / sectorSize};
}

void SeekDrive(DiskSystem& system, std::uint32_t unit, std::uint32_t file, std::uint32_t offset) {
  if (RealDriveRecord* record = RealDrive(system, unit))
    record->driveState = offset;
  else
    SeekFailed(file, offset);
}

bool ReadDrive(DiskSystem& system, std::uint32_t unit, std::uint32_t file, void* buffer,
               std::uint32_t count) {
  if (RealDriveRecord* record = RealDrive(system, unit))
    return RealDriveTransfer(system, *record, buffer, count, false);
  ReadFileBytes(file, buffer, count);
  return true;
}

bool WriteDrive(DiskSystem& system, std::uint32_t unit, std::uint32_t file, const void* buffer,
                std::uint32_t count) {
  if (RealDriveRecord* record = RealDrive(system, unit))
    return RealDriveTransfer(system, *record, const_cast<void*>(buffer), count, true);
  // A write the file did not take whole (disk full, I/O error) must not look done to the guest.
  return WriteFileBytes(file, buffer, count) == count;
}

}  // namespace disk
