#include "formats/mfd.h"

#include <cstring>

#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"

namespace disk {

void ApplyMfdHeader(FloppyTables& tables, const std::uint8_t* header, std::uint32_t revision) {
  CopyTextField(tables.comment, sizeof tables.comment, header + mfd::kCommentOffset,
                mfd::kCommentSize);
  tables.writeProtect = header[mfd::kWriteProtectOffset] != 0 ? 1 : 0;
  tables.reformattable = 1;
  tables.revision = revision;
}

bool MfdDataStart(ImageReader& reader, std::uint32_t revision, std::uint32_t& start) {
  if (revision == 0) {
    start = mfd::kR0HeaderSize;
    return true;
  }
  std::uint8_t field[4];
  if (!reader.ReadExact(mfd::kHeaderSizeOffset, field, sizeof field)) return false;
  start = LoadU32(field);
  return true;
}

void PutMfdFixedFields(std::uint8_t* header, const char* signature, const char* comment,
                       std::uint8_t writeProtect) {
  std::memcpy(header, signature, std::strlen(signature) + 1);
  std::memcpy(header + mfd::kCommentOffset, comment, strnlen(comment, mfd::kCommentSize - 1));
  header[mfd::kWriteProtectOffset] = writeProtect;
  header[mfd::kVersionByteOffset] = mfd::kVersionByte;
}

std::uint32_t ImageHeaderSize(const FloppyTables& tables) {
  switch (tables.revision) {
    case 0:
      return mfd::kR0HeaderSize;
    case 1:
      return MfdR1HeaderSize(tables);
    default:
      return 0;
  }
}

std::uint32_t BuildImageHeader(const FloppyTables& tables, std::uint8_t* buffer,
                               std::uint32_t capacity) {
  const std::uint32_t size = ImageHeaderSize(tables);
  if (size == 0 || buffer == nullptr || capacity < size) return 0;
  return tables.revision == 0 ? BuildMfdR0Header(tables, buffer) : BuildMfdR1Header(tables, buffer);
}

std::vector<std::uint8_t> BuildMfdImage(const FloppyTables& tables, ImageReader& data) {
  std::vector<std::uint8_t> image(ImageHeaderSize(tables));
  if (image.empty() ||
      BuildImageHeader(tables, image.data(), static_cast<std::uint32_t>(image.size())) == 0)
    return {};
  // R0 holds places 0-25 of tracks 0-162; R1 every slot up to a track's last sector.
  const bool r0 = tables.revision == 0;
  for (int track = 0; track < (r0 ? mfd::kR0Tracks : kTrackCount); ++track) {
    for (int slot = 0; slot < (r0 ? mfd::kR0Places : kSlotsPerTrack); ++slot) {
      const SectorRecord& r = tables.sectors[track][slot];
      if (r.IsEmpty()) continue;
      const std::uint32_t copies = r0 ? 1 : r.repeatCount + 1u;
      AppendImageBytes(data, r.dataOffset, copies * SectorSize(r.N), image);
    }
    if (r0) continue;
    for (const SpecialReadRecord& s : tables.specials[track])
      if (!s.EndsList())
        AppendImageBytes(data, s.dataOffset, (s.repeatCount + 1u) * s.dataLength, image);
  }
  return image;
}

}  // namespace disk
