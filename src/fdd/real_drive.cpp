#include "fdd/real_drive.h"

#include "fdd/floppy_drive.h"
#include "plugin/disk_system.h"

namespace disk {
namespace {

// The table places an MFD R0 header can hold; a real drive's tables never need more.
constexpr int kRealDriveTracks = 163;
constexpr int kRealDrivePlaces = 26;

}  // namespace

const UniformLayout& RealDriveLayout(const RealDriveRecord& record) {
  return record.is144 != 0 ? kRealDrive144 : kRealDrive123;
}

void MountRealDrive(FloppyDrive& drive, const RealDriveRecord& record) {
  drive.file = kRealDriveFile;
  drive.reformattable = 0;
  drive.dataPosition = 0;
  drive.writeProtect = record.writeProtect;
  // The data offsets are byte positions on the disk, sector after sector in track order.
  FillUniformTracks(drive, RealDriveLayout(record), 0, kRealDriveTracks, kRealDrivePlaces);
}

}  // namespace disk
