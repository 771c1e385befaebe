// New MFD R0 images: a blank, unformatted disk, or a copy of a real floppy read track by track.
// Used by the new floppy image dialog and by command-line tools alike; nothing here shows a window.
#pragma once

#include <cstdint>
#include <functional>

namespace disk {

inline constexpr int kMfdTracks = 163;
inline constexpr int kMfdRecordsPerTrack = 26;

// Layout of a floppy read into a new image: mediaIndex 0 = 1.23 MB, 1 = 1.44 MB.
struct FloppyMedium {
  int tracks;           // cylinders x sides
  int sectorsPerTrack;  //
  std::uint8_t n;       // size code: 128 << n bytes
  std::uint8_t mediaType;
  std::uint32_t SectorSize() const { return 128u << n; }
  std::uint32_t TrackBytes() const {
    return SectorSize() * static_cast<std::uint32_t>(sectorsPerTrack);
  }
};
const FloppyMedium& ConversionMedium(int mediaIndex);

// Called after each track (done = track number, total = 163) or cylinder.
using ImageProgress = std::function<void(int done, int total)>;
// Reads `count` bytes at byte `offset` of the disk being copied; false when the read failed.
using DiskReader = std::function<bool(std::uint32_t offset, void* buffer, std::uint32_t count)>;

enum class ImageResult {
  kDone,
  kReadFailed,    // the source disk could not be read; nothing was created
  kCreateFailed,  // the image file could not be created
  kWriteFailed,   // the file was created but not written completely (left as it is)
  kSizeRefused,   // a size the image format or the file layer cannot hold
};

ImageResult CreateBlankFloppyImage(const char* path, const ImageProgress& progress);
// Reads every track of the medium before the file is created, so a failed read leaves no file.
ImageResult ConvertFloppyToImage(const DiskReader& read, int mediaIndex, const char* path,
                                 const ImageProgress& progress);

// The 68112-byte header of a new R0 image: signature, comment "New FD Image", every record empty.
void BuildBlankMfdHeader(std::uint8_t* header);

}  // namespace disk
