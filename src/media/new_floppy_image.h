// New MFD R0 images: a blank, unformatted disk, or a copy of a real floppy read track by track.
// Used by the new floppy image dialog and by command-line tools alike; nothing here shows a window.
#pragma once

#include <cstdint>
#include <functional>

#include "formats/headerless.h"

namespace disk {

// Layout of a floppy read into a new image: mediaIndex 0 = 1.23 MB, 1 = 1.44 MB (any other).
const UniformLayout& ConversionMedium(int mediaIndex);

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

}  // namespace disk
