// Disks as numbered sectors over an image file, for the file system.
#pragma once

#include <memory>
#include <vector>

#include "fat/sector_device.h"
#include "image.h"

namespace diskimg {

// A floppy's sectors numbered as DOS numbers them: track by track from track 0 (cylinder x 2 +
// side), on each track the sectors by ascending R. Only a run of tracks that all hold the same
// sectors (R = 1..k of one size) counts; it ends at the first track that differs.
class FloppySectors final : public disk::fat::SectorDevice {
 public:
  // Null when track 0 has no sectors or not one size.
  static std::unique_ptr<FloppySectors> Build(const Tables& tables, PatchedFile& file,
                                              std::uint64_t diskStart);

  std::uint32_t SectorSize() const override { return size_; }
  std::uint64_t SectorCount() const override { return offsets_.size(); }
  bool Read(std::uint64_t lba, std::span<std::uint8_t> out) override;
  bool Write(std::uint64_t lba, std::span<const std::uint8_t> in) override;

  std::uint32_t SectorsPerTrack() const { return perTrack_; }

 private:
  FloppySectors(PatchedFile& file, std::uint32_t size) : file_(file), size_(size) {}
  bool InRange(std::uint64_t lba, std::size_t bytes) const;

  PatchedFile& file_;
  std::uint32_t size_;
  std::uint32_t perTrack_ = 0;
  std::vector<std::uint64_t> offsets_;  // file offset of each sector's first copy
};

// A hard disk's sectors in the order of its geometry, from the header's data offset.
class HardDiskSectors final : public disk::fat::SectorDevice {
 public:
  HardDiskSectors(PatchedFile& file, const HardDiskGeometry& geometry)
      : file_(file), geometry_(geometry) {}

  std::uint32_t SectorSize() const override { return geometry_.sectorSize; }
  std::uint64_t SectorCount() const override {
    return geometry_.DataBytes() / geometry_.sectorSize;
  }
  bool Read(std::uint64_t lba, std::span<std::uint8_t> out) override;
  bool Write(std::uint64_t lba, std::span<const std::uint8_t> in) override;

 private:
  bool InRange(std::uint64_t lba, std::size_t bytes) const;

  PatchedFile& file_;
  HardDiskGeometry geometry_;
};

}  // namespace diskimg
