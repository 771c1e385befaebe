#include "fdd/new_floppy_image.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "plugin/file_routines.h"

namespace disk {
namespace {

constexpr char kSignature[] = "ZEBFDDIMAGE.R0";
constexpr char kComment[] = "New FD Image";
constexpr std::uint32_t kCommentOffset = 0x10;
constexpr std::uint32_t kHeaderSizeOffset = 0x110;
constexpr std::uint32_t kWriteProtectOffset = 0x114;
constexpr std::uint32_t kVersionOffset = 0x115;
constexpr std::uint32_t kRecordsOffset = 0x120;
constexpr std::uint32_t kRecordSize = 16;
constexpr std::uint32_t kDiskBufferSize = 1475840;  // room for the largest medium read

constexpr FloppyMedium kMedia[2] = {
    {154, 8, 3, 0x90},   // 1.23 MB: 77 cylinders x 2 sides
    {160, 18, 2, 0x30},  // 1.44 MB: 80 cylinders x 2 sides
};

// Field order of an R0 sector record.
struct Record {
  std::uint8_t c, h, r, n, mfm, deleted, status, st0, st1, st2, mediaType;
};

// A place without a sector; side 1 marks its ST0 with the head bit.
Record EmptyRecord(int track) {
  return {0xFF, 0xFF, 0xFF, 0xFF,
          0xFF, 0xFF, 0xE0, static_cast<std::uint8_t>(0x40 | (track & 1) << 2),
          0x01, 0x00, 0x00};
}

void PutRecord(std::uint8_t* header, int track, int slot, const Record& record) {
  std::uint8_t* at = header + kRecordsOffset +
                     (static_cast<std::uint32_t>(track) * kMfdRecordsPerTrack + slot) * kRecordSize;
  std::memset(at, 0, kRecordSize);
  std::memcpy(at, &record, sizeof record);
}

void PutU32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Creates the file and writes the header and `dataSize` bytes of sector data.
ImageResult WriteImage(const char* path, const std::uint8_t* header, const std::uint8_t* data,
                       std::uint32_t dataSize) {
  FileHandle file = CreateImageFile(path);
  if (file == platform::kNoFile) return ImageResult::kCreateFailed;
  bool complete = WriteFileBytes(file, header, kMfdR0HeaderSize) == kMfdR0HeaderSize &&
                  (dataSize == 0 || WriteFileBytes(file, data, dataSize) == dataSize);
  CloseFile(file);
  return complete ? ImageResult::kDone : ImageResult::kWriteFailed;
}

}  // namespace

const FloppyMedium& ConversionMedium(int mediaIndex) {
  return kMedia[mediaIndex == 0 ? 0 : 1];
}

void BuildBlankMfdHeader(std::uint8_t* header) {
  std::memset(header, 0, kMfdR0HeaderSize);
  std::memcpy(header, kSignature, sizeof kSignature);
  std::memcpy(header + kCommentOffset, kComment, sizeof kComment);
  PutU32(header + kHeaderSizeOffset, kMfdR0HeaderSize);
  header[kWriteProtectOffset] = 0;
  header[kVersionOffset] = 2;
  for (int track = 0; track < kMfdTracks; ++track)
    for (int slot = 0; slot < kMfdRecordsPerTrack; ++slot)
      PutRecord(header, track, slot, EmptyRecord(track));
}

ImageResult CreateBlankFloppyImage(const char* path, const ImageProgress& progress) {
  std::vector<std::uint8_t> header(kMfdR0HeaderSize);
  BuildBlankMfdHeader(header.data());
  for (int track = 0; track < kMfdTracks; ++track)
    if (progress) progress(track, kMfdTracks);
  return WriteImage(path, header.data(), nullptr, 0);
}

ImageResult ConvertFloppyToImage(const DiskReader& read, int mediaIndex, const char* path,
                                 const ImageProgress& progress) {
  const FloppyMedium& medium = ConversionMedium(mediaIndex);
  std::vector<std::uint8_t> header(kMfdR0HeaderSize);
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
      Record record = EmptyRecord(track);
      if (present && slot < medium.sectorsPerTrack)
        record = {static_cast<std::uint8_t>(track >> 1),
                  static_cast<std::uint8_t>(track & 1),
                  static_cast<std::uint8_t>(slot + 1),
                  medium.n,
                  1,
                  0,
                  0,
                  static_cast<std::uint8_t>((track & 1) << 2),
                  0,
                  0,
                  medium.mediaType};
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
