// The floppy image formats a drive takes, in the order they are tried. The kind of an image is
// chosen from its content alone. Each loader turns the bytes of an image, seen through an
// ImageReader, into FloppyTables; it expects emptied tables (ClearTables) and returns false when
// the image is unusable. Nothing here opens, closes or keeps a file.
#pragma once

#include <cstdint>
#include <span>

#include "formats/floppy_tables.h"
#include "formats/image_info.h"
#include "formats/image_reader.h"

namespace disk {

inline constexpr std::uint32_t kProbeSize = 288;  // bytes read before the format is chosen

struct FloppyFormat {
  const char* name;
  ImageFormat format;
  // Given the image's first kProbeSize bytes: whether the image is of this format.
  bool (*identify)(const std::uint8_t* probe, ImageReader& reader);
  bool (*load)(ImageReader& reader, FloppyTables& tables);
};

// MFD R0, MFD R1, headerless, D88: the first that identifies an image loads it.
std::span<const FloppyFormat> FloppyFormats();

// The format that takes the image; null when none does or its first bytes cannot be read.
const FloppyFormat* IdentifyFloppyImage(ImageReader& reader);

// Chooses the format by content alone and loads it.
bool ParseImage(ImageReader& reader, FloppyTables& tables);

}  // namespace disk
