#include "formats/floppy_geometry.h"

#include "formats/floppy_tables.h"

namespace disk {

std::uint8_t MediaTypeFor(std::uint8_t n, std::uint32_t sectorsPerTrack, std::uint8_t mfm) {
  // Below the limit a track is of the 640 KB class, otherwise of the 1 MB class; only the
  // 18-sector MFM track of 512-byte sectors is of the 1.44 MB class.
  auto byLimit = [sectorsPerTrack](std::uint32_t limit) {
    return sectorsPerTrack < limit ? kMedia640K : kMedia1M;
  };
  switch (n) {
    case 0:
      return byLimit(26);
    case 1:
      return byLimit(mfm != 0 ? 26 : 15);
    case 2:
      if (mfm != 0 && sectorsPerTrack >= 18) return kMedia144;
      return byLimit(15);
    case 3:
      return byLimit(8);
    default:
      return kMedia1M;
  }
}

std::uint8_t TrackMediaType(const SectorRecord* records, std::uint32_t count) {
  std::uint8_t largestN = 0;
  for (std::uint32_t i = 0; i < count; ++i)
    if (!records[i].IsEmpty() && records[i].N > largestN) largestN = records[i].N;
  return MediaTypeFor(largestN, count, records[count - 1].mfm);
}

}  // namespace disk
