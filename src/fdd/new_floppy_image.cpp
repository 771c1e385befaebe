#include "fdd/new_floppy_image.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "formats/mfd.h"
#include "plugin/file_routines.h"

namespace disk {
namespace {

constexpr char kComment[] = "New FD Image";
using mfd::kR0HeaderSize;
using mfd::kR0Signature;
constexpr std::uint32_t kDiskBufferSize = 1475840;  // room for the largest medium read

constexpr FloppyMedium kMedia[2] = {
    {154, 8, 3, 0x90},   // 1.23 MB: 77 cylinders x 2 sides
    {160, 18, 2, 0x30},  // 1.44 MB: 80 cylinders x 2 sides
};

// An R0 sector record: C, H, R, N, MFM, deleted, status, ST0, ST1, ST2, media type, then zeros.
void PutRecord(std::uint8_t* header, int track, int slot, const SectorRecord& record) {
  std::uint8_t* at =
      header + mfd::kTrackTableOffset +
      (static_cast<std::uint32_t>(track) * kMfdRecordsPerTrack + slot) * mfd::kRecordSize;
  const std::uint8_t fields[] = {record.C,   record.H,       record.R,        record.N,
                                 record.mfm, record.deleted, record.status,   record.st0,
                                 record.st1, record.st2,     record.mediaType};
  std::memset(at, 0, mfd::kRecordSize);
  std::memcpy(at, fields, sizeof fields);
}

SectorRecord Empty(int track) {
  return EmptyRecord(static_cast<std::uint32_t>(track & 1), 0);
}

void PutU32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Creates the file and writes the header and `dataSize` bytes of sector data.
ImageResult WriteImage(const char* path, const std::uint8_t* header, const std::uint8_t* data,
                       std::uint32_t dataSize) {
  FileHandle file = CreateImageFile(path);
  if (file == platform::kNoFile) return ImageResult::kCreateFailed;
  bool complete = WriteFileBytes(file, header, kR0HeaderSize) == kR0HeaderSize &&
                  (dataSize == 0 || WriteFileBytes(file, data, dataSize) == dataSize);
  CloseFile(file);
  return complete ? ImageResult::kDone : ImageResult::kWriteFailed;
}

}  // namespace

const FloppyMedium& ConversionMedium(int mediaIndex) {
  return kMedia[mediaIndex == 0 ? 0 : 1];
}

void BuildBlankMfdHeader(std::uint8_t* header) {
  std::memset(header, 0, kR0HeaderSize);
  std::memcpy(header, kR0Signature, sizeof kR0Signature);
  std::memcpy(header + mfd::kCommentOffset, kComment, sizeof kComment);
  PutU32(header + mfd::kHeaderSizeOffset, kR0HeaderSize);
  header[mfd::kWriteProtectOffset] = 0;
  header[mfd::kVersionByteOffset] = 2;
  for (int track = 0; track < kMfdTracks; ++track)
    for (int slot = 0; slot < kMfdRecordsPerTrack; ++slot)
      PutRecord(header, track, slot, Empty(track));
}

ImageResult CreateBlankFloppyImage(const char* path, const ImageProgress& progress) {
  std::vector<std::uint8_t> header(kR0HeaderSize);
  BuildBlankMfdHeader(header.data());
  for (int track = 0; track < kMfdTracks; ++track)
    if (progress) progress(track, kMfdTracks);
  return WriteImage(path, header.data(), nullptr, 0);
}

ImageResult ConvertFloppyToImage(const DiskReader& read, int mediaIndex, const char* path,
                                 const ImageProgress& progress) {
  const FloppyMedium& medium = ConversionMedium(mediaIndex);
  std::vector<std::uint8_t> header(kR0HeaderSize);
  BuildBlankMfdHeader(header.data());
  // Raw volume reads want sector-aligned buffers.
  constexpr std::align_val_t kAlignment{4096};
  std::unique_ptr<std::uint8_t, void (*)(std::uint8_t*)> disk(
      static_cast<std::uint8_t*>(::operator new(kDiskBufferSize, kAlignment, std::nothrow)),
      [](std::uint8_t* p) { ::operator delete(p, kAlignment); });
  if (!disk) return ImageResult::kReadFailed;

  std::uint32_t position = 0;
  for (int track = 0; track < kMfdTracks; ++track) {
    bool present = track < medium.tracks;
    for (int slot = 0; slot < kMfdRecordsPerTrack; ++slot) {
      SectorRecord record = Empty(track);
      if (present && slot < medium.sectorsPerTrack) {
        record = {};
        record.C = static_cast<std::uint8_t>(track >> 1);
        record.H = static_cast<std::uint8_t>(track & 1);
        record.R = static_cast<std::uint8_t>(slot + 1);
        record.N = medium.n;
        record.mfm = 1;
        record.st0 = static_cast<std::uint8_t>((track & 1) << 2);  // head bit on side 1
        record.mediaType = medium.mediaType;
      }
      PutRecord(header.data(), track, slot, record);
    }
    if (present) {
      if (!read(position, disk.get() + position, medium.TrackBytes()))
        return ImageResult::kReadFailed;
      position += medium.TrackBytes();
    }
    if (progress) progress(track, kMfdTracks);
  }
  return WriteImage(path, header.data(), disk.get(), position);
}

}  // namespace disk
