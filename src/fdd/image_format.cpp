#include <cstring>

#include "fdd/image_loaders.h"

namespace disk {

bool ParseImage(ImageReader& reader, FloppyDrive& drive) {
  std::uint8_t probe[kProbeSize];
  if (!reader.ReadExact(0, probe, kProbeSize)) return false;
  // The signature counts with its NUL: "ZEBFDDIMAGE.R0x" is no MFD image.
  if (std::memcmp(probe, kR0Signature, sizeof kR0Signature) == 0) return LoadMfdR0(reader, drive);
  if (std::memcmp(probe, kR1Signature, sizeof kR1Signature) == 0) return LoadMfdR1(reader, drive);
  const std::uint64_t size = reader.Size();
  if (const UniformLayout* layout = FindHeaderlessLayout(size)) {
    LoadHeaderless(*layout, size == layout->imageSize ? 0 : kLeadingBlock, drive);
    return true;
  }
  return LoadD88(reader, drive);
}

}  // namespace disk
