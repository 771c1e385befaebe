// What mhwhost does with the mounted disks through INT 1Bh, as a guest would: read every
// sector and compare it with the image file, write and format a track and read it back.
#pragma once

#include <string>

#include "reference_host.h"

namespace mhwhost {

struct CheckResult {
  bool ok = false;
  std::string summary;
};

// Floppy drive `unit` (0, 1) with its image file; DA/UA class 0x90 (1 MB media).
CheckResult ReadWholeFloppy(ReferenceHost& host, int unit, const std::string& path);
// Hard disk `unit` (0, 1) with its image file; the geometry comes from extended sense.
CheckResult ReadWholeHardDisk(ReferenceHost& host, int unit, const std::string& path);
// Writes a pattern over the last track of the disk, reads it back, then formats the track.
// These change the image file.
CheckResult WriteAndFormatFloppyTrack(ReferenceHost& host, int unit);
CheckResult WriteAndFormatHardDiskTrack(ReferenceHost& host, int unit);

}  // namespace mhwhost
