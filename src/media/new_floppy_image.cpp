#include "media/new_floppy_image.h"

#include <memory>
#include <new>
#include <vector>

#include "formats/floppy_geometry.h"
#include "formats/mfd.h"
#include "media/backing_store.h"
#include "media/file_routines.h"

namespace disk {
namespace {

constexpr std::uint32_t kDiskBufferSize = 1475840;  // room for the largest medium read
constexpr std::uint32_t kHeaderSize = mfd::kR0HeaderSize;
constexpr int kTracks = mfd::kR0Tracks;  // progress is reported for every track of the header

// Creates the file and writes the header and `dataSize` bytes of sector data.
ImageResult WriteImage(const char* path, const std::uint8_t* header, const std::uint8_t* data,
                       std::uint32_t dataSize) {
  FileHandle file = CreateImageFile(path);
  if (file == platform::kNoFile) return ImageResult::kCreateFailed;
  bool complete = WriteFileBytes(file, header, kHeaderSize) == kHeaderSize &&
                  (dataSize == 0 || WriteFileBytes(file, data, dataSize) == dataSize);
  CloseFile(file);
  return complete ? ImageResult::kDone : ImageResult::kWriteFailed;
}

}  // namespace

const UniformLayout& ConversionMedium(int mediaIndex) {
  return mediaIndex == 0 ? kRealDrive123 : kRealDrive144;
}

ImageResult CreateBlankFloppyImage(const char* path, const ImageProgress& progress) {
  std::vector<std::uint8_t> header(kHeaderSize);
  BuildNewMfdHeader(nullptr, header.data());
  for (int track = 0; track < kTracks; ++track)
    if (progress) progress(track, kTracks);
  return WriteImage(path, header.data(), nullptr, 0);
}

ImageResult ConvertFloppyToImage(const DiskReader& read, int mediaIndex, const char* path,
                                 const ImageProgress& progress) {
  const UniformLayout& medium = ConversionMedium(mediaIndex);
  const std::uint32_t trackBytes = SectorSize(medium.n) * medium.sectorsPerTrack;
  std::vector<std::uint8_t> header(kHeaderSize);
  BuildNewMfdHeader(&medium, header.data());
  // Raw volume reads want sector-aligned buffers.
  constexpr std::align_val_t kAlignment{4096};
  std::unique_ptr<std::uint8_t, void (*)(std::uint8_t*)> disk(
      static_cast<std::uint8_t*>(::operator new(kDiskBufferSize, kAlignment, std::nothrow)),
      [](std::uint8_t* p) { ::operator delete(p, kAlignment); });
  if (!disk) return ImageResult::kReadFailed;

  std::uint32_t position = 0;
  for (int track = 0; track < kTracks; ++track) {
    if (track < medium.cylinders * 2) {
      if (!read(position, disk.get() + position, trackBytes)) return ImageResult::kReadFailed;
      position += trackBytes;
    }
    if (progress) progress(track, kTracks);
  }
  return WriteImage(path, header.data(), disk.get(), position);
}

}  // namespace disk
