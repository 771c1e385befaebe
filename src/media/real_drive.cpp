#include "media/real_drive.h"

#include "formats/mfd.h"
#include "media/drive_settings.h"
#include "media/floppy_drive.h"

namespace disk {

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

}  // namespace disk
