#include "formats/headerless.h"

#include <cstring>

#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"

namespace disk {
namespace {

// Tried in this order; the first whose size, or size + 4096, matches wins.
constexpr UniformLayout kHeaderlessLayouts[] = {
    {655360, 80, 8, 2, false},   {737280, 80, 9, 2, false},   {1021696, 77, 26, 1, true},
    {1025024, 77, 26, 1, false}, {1228800, 80, 15, 2, false}, {1261568, 77, 8, 3, false},
    {1419264, 77, 9, 3, false},  {1474560, 80, 18, 2, false},
};

}  // namespace

std::span<const UniformLayout> HeaderlessLayouts() {
  return kHeaderlessLayouts;
}

const UniformLayout* FindHeaderlessLayout(std::uint64_t fileSize) {
  for (const UniformLayout& layout : kHeaderlessLayouts) {
    if (fileSize == layout.imageSize || fileSize == layout.imageSize + headerless::kLeadingBlock)
      return &layout;
  }
  return nullptr;
}

SectorRecord UniformRecord(const UniformLayout& layout, int track, int slot,
                           std::uint32_t dataOffset) {
  const auto cylinder = static_cast<std::uint8_t>(track / 2);
  const auto side = static_cast<std::uint8_t>(track & 1);
  if (track >= layout.cylinders * 2 || slot >= layout.sectorsPerTrack)
    return EmptyRecord(side, dataOffset);
  const bool fm = layout.fmTrackZero && track == 0;  // 128-byte FM sectors on cylinder 0 side 0
  const std::uint8_t mfm = fm ? 0 : 1;
  return {cylinder,
          side,
          static_cast<std::uint8_t>(slot + 1),
          fm ? std::uint8_t{0} : layout.n,
          mfm,
          0,
          0,
          static_cast<std::uint8_t>(side != 0 ? 0x04 : 0x00),
          0,
          0,
          MediaTypeFor(layout.n, layout.sectorsPerTrack, mfm),
          dataOffset,
          0,
          0};
}

void FillUniformTracks(FloppyTables& tables, const UniformLayout& layout, std::uint32_t dataStart,
                       int trackLimit, int slotLimit) {
  std::uint32_t running = dataStart;
  for (int track = 0; track < trackLimit; ++track) {
    const int sectorsHere = track < layout.cylinders * 2 ? layout.sectorsPerTrack : 0;
    int slot = 0;
    for (; slot < slotLimit && slot < sectorsHere; ++slot) {
      const SectorRecord record = UniformRecord(layout, track, slot, running);
      tables.SetSector(track, slot, record);
      running += SectorSize(record.N);
    }
    // The places past the track's sectors all hold the same empty record.
    tables.FillSlots(track, slot, slotLimit, UniformRecord(layout, track, slot, running));
  }
}

bool IsHeaderless(const std::uint8_t*, ImageReader& reader) {
  return FindHeaderlessLayout(reader.Size()) != nullptr;
}

bool LoadHeaderless(ImageReader& reader, FloppyTables& tables) {
  const std::uint64_t size = reader.Size();
  const UniformLayout* layout = FindHeaderlessLayout(size);
  if (layout == nullptr) return false;
  // The data are not read: a dump of the right size is a disk, whatever its bytes.
  FillUniformTracks(tables, *layout, size == layout->imageSize ? 0 : headerless::kLeadingBlock,
                    kTrackCount, kSlotsPerTrack);
  CopyTextField(tables.comment, sizeof tables.comment,
                reinterpret_cast<const std::uint8_t*>(headerless::kComment),
                sizeof headerless::kComment);
  tables.writeProtect = 0;
  tables.reformattable = 0;
  tables.revision = 0;
  return true;
}

void BuildFdiHeader(const UniformLayout& layout, std::uint8_t (&block)[headerless::kLeadingBlock]) {
  std::memset(block, 0, sizeof block);
  const std::uint32_t sectorSize = SectorSize(layout.n);
  block[headerless::kFdiMediaOffset] = MediaTypeFor(layout.n, layout.sectorsPerTrack, 1);
  StoreU32(block + headerless::kFdiHeaderSizeOffset, headerless::kLeadingBlock);
  StoreU32(block + headerless::kFdiDataSizeOffset, layout.imageSize);
  StoreU32(block + headerless::kFdiSectorSizeOffset, sectorSize);
  StoreU32(block + headerless::kFdiSectorsOffset, layout.sectorsPerTrack);
  StoreU32(block + headerless::kFdiHeadsOffset, 2);
  StoreU32(block + headerless::kFdiCylindersOffset, layout.cylinders);
}

std::vector<std::uint8_t> BuildHeaderlessImage(const FloppyTables& tables, ImageReader& data,
                                               const UniformLayout& layout, bool fdiHeader) {
  std::vector<std::uint8_t> image;
  image.reserve(layout.imageSize + (fdiHeader ? headerless::kLeadingBlock : 0));
  if (fdiHeader) {
    std::uint8_t block[headerless::kLeadingBlock];
    BuildFdiHeader(layout, block);
    image.assign(block, block + sizeof block);
  }
  for (int track = 0; track < layout.cylinders * 2; ++track) {
    for (int slot = 0; slot < layout.sectorsPerTrack; ++slot) {
      const SectorRecord wanted = UniformRecord(layout, track, slot, 0);
      const std::uint32_t size = SectorSize(wanted.N);
      const SectorRecord* found = nullptr;
      for (std::uint32_t i = 0; i < tables.SectorsOnTrack(track) && found == nullptr; ++i) {
        const SectorRecord& r = tables.sectors[track][i];
        if (r.R == wanted.R && SectorSize(r.N) == size) found = &r;
      }
      if (found != nullptr)
        AppendImageBytes(data, found->dataOffset, size, image);
      else
        image.resize(image.size() + size, 0);
    }
  }
  return image;
}

}  // namespace disk
