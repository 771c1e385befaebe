#include "formats/floppy_loaders.h"

#include "formats/buffered_image_reader.h"
#include "formats/d88.h"
#include "formats/headerless.h"
#include "formats/mfd.h"

namespace disk {
namespace {

constexpr FloppyFormat kFloppyFormats[] = {
    {"MFD R0", ImageFormat::kMfdR0, IsMfdR0, LoadMfdR0},
    {"MFD R1", ImageFormat::kMfdR1, IsMfdR1, LoadMfdR1},
    {"headerless", ImageFormat::kHeaderless, IsHeaderless, LoadHeaderless},
    {"D88", ImageFormat::kD88, IsD88, LoadD88},
};

}  // namespace

std::span<const FloppyFormat> FloppyFormats() {
  return kFloppyFormats;
}

const FloppyFormat* IdentifyFloppyImage(ImageReader& reader) {
  std::uint8_t probe[kProbeSize];
  if (!reader.ReadExact(0, probe, kProbeSize)) return nullptr;
  for (const FloppyFormat& format : kFloppyFormats)
    if (format.identify(probe, reader)) return &format;
  return nullptr;
}

bool ParseImage(ImageReader& image, FloppyTables& tables) {
  BufferedImageReader reader(image);
  const FloppyFormat* format = IdentifyFloppyImage(reader);
  return format != nullptr && format->load(reader, tables);
}

}  // namespace disk
