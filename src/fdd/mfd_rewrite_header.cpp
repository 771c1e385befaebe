// MFD headers built back from a drive's tables.
#include <cstring>

#include "fdd/floppy_drive.h"
#include "fdd/mfd_rewrite.h"
#include "formats/floppy_geometry.h"
#include "formats/mfd.h"

namespace disk {
namespace {

constexpr std::uint8_t kVersionByte = 2;
constexpr int kR0Tracks = 163;
constexpr int kR0Places = 26;
using mfd::kR0HeaderSize;
using mfd::kR0Signature;
using mfd::kR1FixedHeader;
using mfd::kR1Signature;
constexpr std::uint32_t kBlockHeadSize = 16;

void PutU16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}
void PutU32(std::uint8_t* at, std::uint32_t value) {
  PutU16(at, value);
  PutU16(at + 2, value >> 16);
}

void PutCommonFields(const FloppyDrive& drive, const char* signature, std::uint8_t* buffer) {
  std::memcpy(buffer, signature, std::strlen(signature) + 1);
  const std::size_t length = strnlen(drive.comment, sizeof drive.comment - 1);
  std::memcpy(buffer + mfd::kCommentOffset, drive.comment, length);
  buffer[mfd::kWriteProtectOffset] = drive.writeProtect;
  buffer[mfd::kVersionByteOffset] = kVersionByte;
}

// Records of a track up to its last sector: a place without a sector in the middle stays (it
// holds no data), trailing empty slots are dropped.
int RecordsToWrite(const SectorRecord* track) {
  int n = kSlotsPerTrack;
  while (n > 0 && track[n - 1].IsEmpty()) --n;
  return n;
}
int SpecialsToWrite(const SpecialReadRecord* list) {
  int n = kSpecialsPerTrack;
  while (n > 0 && list[n - 1].EndsList()) --n;
  return n;
}

std::uint32_t BuildR0(const FloppyDrive& drive, std::uint8_t* buffer) {
  std::memset(buffer, 0, kR0HeaderSize);
  PutCommonFields(drive, kR0Signature, buffer);
  PutU32(buffer + mfd::kHeaderSizeOffset, kR0HeaderSize);
  std::uint8_t* out = buffer + mfd::kTrackTableOffset;
  for (int track = 0; track < kR0Tracks; ++track) {
    for (int place = 0; place < kR0Places; ++place, out += mfd::kRecordSize) {
      const SectorRecord& r = drive.sectors[track][place];
      const std::uint8_t bytes[] = {r.C,      r.H,   r.R,   r.N,   r.mfm,      r.deleted,
                                    r.status, r.st0, r.st1, r.st2, r.mediaType};
      std::memcpy(out, bytes, sizeof bytes);
    }
  }
  return kR0HeaderSize;
}

std::uint32_t R1Size(const FloppyDrive& drive) {
  std::uint32_t size = kR1FixedHeader;
  for (int track = 0; track < kTrackCount; ++track) {
    const auto records = static_cast<std::uint32_t>(RecordsToWrite(drive.sectors[track]));
    const auto specials = static_cast<std::uint32_t>(SpecialsToWrite(drive.specials[track]));
    size += kBlockHeadSize + (records + specials) * mfd::kRecordSize;
  }
  return size;
}

// Repeat counts and special records are written as the tables hold them: the data area keeps
// their copies, so dropping them would shift every sector behind them. A media type is written
// only where it differs from the one the reload derives from the track's layout (0 elsewhere),
// so that a type stored in an R0 image this one was converted from still reads as before.
std::uint32_t BuildR1(const FloppyDrive& drive, std::uint8_t* buffer) {
  std::memset(buffer, 0, kR1FixedHeader);
  PutCommonFields(drive, kR1Signature, buffer);
  std::uint32_t at = kR1FixedHeader;
  for (int track = 0; track < kTrackCount; ++track) {
    const int records = RecordsToWrite(drive.sectors[track]);
    const int specials = SpecialsToWrite(drive.specials[track]);
    PutU32(buffer + mfd::kTrackTableOffset + 4 * track, records + specials > 0 ? at : 0);
    std::uint8_t* out = buffer + at;
    std::memset(out, 0, kBlockHeadSize);
    PutU16(out, static_cast<std::uint32_t>(records));
    PutU16(out + 2, static_cast<std::uint32_t>(specials));
    out += kBlockHeadSize;
    const SectorRecord* slots = drive.sectors[track];
    const std::uint8_t derived = records > 0 ? TrackMediaType(slots, records) : 0;
    for (int slot = 0; slot < records; ++slot, out += mfd::kRecordSize) {
      const SectorRecord& r = slots[slot];
      const std::uint8_t mediaType = r.mediaType != derived ? r.mediaType : 0;
      const std::uint8_t bytes[mfd::kRecordSize] = {r.C,   r.H,       r.R,           r.N,
                                                    r.mfm, r.deleted, r.status,      r.st0,
                                                    r.st1, r.st2,     r.repeatCount, mediaType};
      std::memcpy(out, bytes, mfd::kRecordSize);
    }
    for (int entry = 0; entry < specials; ++entry, out += mfd::kRecordSize) {
      const SpecialReadRecord& s = drive.specials[track][entry];
      const std::uint8_t bytes[10] = {s.command, s.C,   s.H,   s.R,   s.N,
                                      s.status,  s.st0, s.st1, s.st2, s.repeatCount};
      std::memset(out, 0, mfd::kRecordSize);
      std::memcpy(out, bytes, sizeof bytes);
      PutU32(out + 10, s.dataLength);
    }
    at = static_cast<std::uint32_t>(out - buffer);
  }
  PutU32(buffer + mfd::kHeaderSizeOffset, at);
  return at;
}

}  // namespace

std::uint32_t ImageHeaderSize(const FloppyDrive& drive) {
  switch (drive.revision) {
    case 0:
      return kR0HeaderSize;
    case 1:
      return R1Size(drive);
    default:
      return 0;
  }
}

std::uint32_t BuildImageHeader(const FloppyDrive& drive, std::uint8_t* buffer,
                               std::uint32_t capacity) {
  const std::uint32_t size = ImageHeaderSize(drive);
  if (size == 0 || buffer == nullptr || capacity < size) return 0;
  return drive.revision == 0 ? BuildR0(drive, buffer) : BuildR1(drive, buffer);
}

}  // namespace disk
