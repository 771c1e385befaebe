// The image side of a track format: MFD images (the drives whose `reformattable` flag is set)
// are rewritten with the track's new layout and loaded again; every other disk is left alone.
#pragma once

#include <cstdint>

namespace disk {

class FloppyDrive;

enum class FormatOutcome {
  kDoneUnchanged,   // not an MFD image: nothing to rewrite
  kNotReady,        // no disk, a unit without a drive, or a file step or the reload failed
  kWriteProtected,  // the disk is write protected
  kDone,            // the image was rewritten and loaded again
};

// One ID of the list a format takes, four bytes in the guest's order.
struct FormatId {
  std::uint8_t C, H, R, N;
};

// Formats the track under the head (the drive's cylinder, `side`) with `count` sectors whose IDs
// are ids[0..count), filled with fillByte. mediaType is the media type byte of the new records,
// or 0 to derive it from each sector's N, the count and the density.
FormatOutcome FormatTrack(FloppyDrive& drive, std::uint8_t side, const FormatId* ids,
                          std::uint32_t count, bool mfm, std::uint8_t fillByte,
                          std::uint8_t mediaType);

}  // namespace disk
