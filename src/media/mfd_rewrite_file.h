// Writing a rewritten MFD image: the new header, the old data area with one track's data
// replaced, into a new file beside the image that then takes the image's place in one rename.
#pragma once

#include <cstdint>

namespace disk {

class FloppyDrive;

struct RewritePlan {
  std::uint32_t dataStart = 0;   // where the old image's data area begins
  std::uint64_t trackStart = 0;  // the formatted track's data in the old image
  std::uint64_t trackEnd = 0;
  std::uint64_t newTrackSize = 0;  // bytes of fill that replace them
  std::uint8_t fillByte = 0;
  bool keepTrackData = false;  // the layout stays: the old data area is copied whole
};

enum class RewriteResult {
  kImageUntouched,  // failed before the image changed: it is still open as the drive's file
  kReloadFailed,    // the image was closed and not replaced by a loadable new one: the drive
                    // holds the old image again if it could be reopened, or is empty
  kReloaded,        // the new image is in place and loaded
};

// Writes the image the drive's tables describe (header from BuildImageHeader) and loads it.
// No temporary file is left behind whatever fails.
RewriteResult RewriteImage(FloppyDrive& drive, const RewritePlan& plan);

}  // namespace disk
