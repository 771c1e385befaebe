// New MHD images of a given size, zero-filled, with 8 heads, 32 sectors of 512 bytes per track.
#pragma once

#include <cstdint>

#include "media/new_floppy_image.h"

namespace disk {

// Cylinders of an image of `sizeMB` megabytes (low 16 bits of the entry), or -1 when the size is
// refused: 4096 MB and more, whose geometry would reach past 4 GiB and never be mounted.
std::int32_t CylindersForSize(std::uint32_t sizeMB);

// Progress is reported after each cylinder with its index and the cylinder count.
ImageResult CreateHardDiskImage(const char* path, std::uint32_t sizeMB,
                                const ImageProgress& progress);

}  // namespace disk
