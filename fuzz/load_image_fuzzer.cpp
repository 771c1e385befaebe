// Arbitrary bytes as a floppy image: every loader must either refuse them or fill the tables so
// that every table operation stays within them. The bytes are tried twice: as they stand, and as
// the start of a longer image (zeros after them) whose size the last four bytes give, so that
// the size-chosen formats are reached as well.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"
#include "formats/floppy_loaders.h"
#include "media/floppy_drive.h"

namespace {

// The given bytes, then zeros up to the declared size.
class PaddedReader final : public disk::ImageReader {
 public:
  PaddedReader(const std::uint8_t* bytes, std::uint32_t count, std::uint32_t size)
      : bytes_(bytes), count_(count), size_(size) {}

  std::uint64_t Size() override { return size_; }
  std::uint32_t Read(std::uint32_t offset, void* buffer, std::uint32_t count) override {
    if (offset >= size_) return 0;
    if (count > size_ - offset) count = size_ - offset;
    auto* out = static_cast<std::uint8_t*>(buffer);
    const std::uint32_t given = offset < count_ ? std::min(count, count_ - offset) : 0;
    if (given != 0) std::memcpy(out, bytes_ + offset, given);
    std::memset(out + given, 0, count - given);
    return count;
  }

 private:
  const std::uint8_t* bytes_;
  std::uint32_t count_;
  std::uint32_t size_;
};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Every operation on every track, as the controller and the BIOS would use them.
void WalkTracks(disk::FloppyDrive& drive) {
  Check(std::memchr(drive.comment, 0, sizeof drive.comment) != nullptr);
  for (std::uint32_t cylinder = 0; cylinder < 83; ++cylinder) {
    for (std::uint32_t side = 0; side < 2; ++side) {
      drive.cylinder = static_cast<std::uint8_t>(cylinder);
      drive.SelectSide(static_cast<std::uint8_t>(side));
      std::uint32_t count = drive.CountSectors(cylinder, side);
      Check(count <= disk::kSlotsPerTrack);
      if (count == 0) continue;  // nothing but scans of empty slots: keep the fuzzer fast
      drive.ResetRotation();
      for (std::uint32_t i = 0; i <= count; ++i) {
        disk::SectorId id = drive.CurrentSectorId();
        Check(id.endOfTrack == (drive.rotation == 0));
      }
      drive.ResetRotation();
      for (std::uint32_t i = 0; i <= count && i < 3; ++i) {
        disk::SectorId id = drive.NextSectorId();
        std::uint32_t offset = drive.FindSectorData(cylinder, side, id.R, id.N);
        Check(offset != disk::kNoSectorData);
        Check(disk::SectorSize(id.N) <= disk::kLargestSector);
      }
      const disk::SectorRecord* track = drive.Track(cylinder, side);
      for (std::uint32_t slot = 0; slot < count && slot < 1; ++slot) {
        const disk::SectorRecord& record = track[slot];
        disk::SectorMatch match = drive.FindSector(6, record.C, record.H, record.R, record.N);
        Check(match.found && track[match.slot].R == record.R);
      }
      for (const disk::SpecialReadRecord* special = drive.Specials(cylinder, side);
           special < drive.Specials(cylinder, side) + disk::kSpecialsPerTrack &&
           !special->EndsList();
           ++special) {
        Check(special->repeatCursor == 0);
      }
    }
  }
}

void LoadAndWalk(disk::ImageReader& reader, disk::FloppyDrive& drive) {
  drive.ClearTables();
  if (disk::ParseImage(reader, drive)) WalkTracks(drive);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static disk::FloppyDrive* drive = new disk::FloppyDrive(2);
  if (size > (1u << 22)) return 0;
  auto count = static_cast<std::uint32_t>(size);
  disk::MemoryImageReader plain(data, count);
  LoadAndWalk(plain, *drive);
  if (count >= 4) {
    std::uint32_t declared = disk::LoadU32(data + count - 4) & 0x1FFFFF;
    PaddedReader padded(data, count - 4, declared);
    LoadAndWalk(padded, *drive);
  }
  return 0;
}
