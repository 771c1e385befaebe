// Disks as the file-system code sees them: numbered sectors of one size, read and written whole.
// Image formats and real drives adapt themselves to this; the FAT code never sees a file.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace disk::fat {

class SectorDevice {
 public:
  virtual ~SectorDevice() = default;
  virtual std::uint32_t SectorSize() const = 0;
  virtual std::uint64_t SectorCount() const = 0;
  // Whole sectors from `lba`: the buffer's size is a multiple of SectorSize(). False when a
  // sector lies beyond the end or could not be transferred.
  virtual bool Read(std::uint64_t lba, std::span<std::uint8_t> out) = 0;
  virtual bool Write(std::uint64_t lba, std::span<const std::uint8_t> in) = 0;
};

// 256, 512, 1024 or 2048: the sector sizes of PC-98 floppies and hard disks.
bool IsSupportedSectorSize(std::uint32_t size);

// Byte ranges on top of sectors; partial sectors at either end are read, patched and written.
bool ReadBytes(SectorDevice& device, std::uint64_t offset, std::span<std::uint8_t> out);
bool WriteBytes(SectorDevice& device, std::uint64_t offset, std::span<const std::uint8_t> in);

// A disk held in memory: a raw image loaded by the caller, or a blank one.
class MemoryDevice : public SectorDevice {
 public:
  MemoryDevice(std::uint32_t sectorSize, std::uint64_t sectorCount);
  MemoryDevice(std::uint32_t sectorSize, std::vector<std::uint8_t> bytes);  // whole sectors kept

  std::uint32_t SectorSize() const override { return sectorSize_; }
  std::uint64_t SectorCount() const override { return bytes_.size() / sectorSize_; }
  bool Read(std::uint64_t lba, std::span<std::uint8_t> out) override;
  bool Write(std::uint64_t lba, std::span<const std::uint8_t> in) override;

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  bool InRange(std::uint64_t lba, std::size_t size) const;

  std::uint32_t sectorSize_;
  std::vector<std::uint8_t> bytes_;
};

// A run of another device's sectors seen from its own sector 0: one partition of a hard disk.
class DeviceWindow : public SectorDevice {
 public:
  DeviceWindow(SectorDevice& base, std::uint64_t firstSector, std::uint64_t sectorCount);

  std::uint32_t SectorSize() const override { return base_.SectorSize(); }
  std::uint64_t SectorCount() const override { return count_; }
  bool Read(std::uint64_t lba, std::span<std::uint8_t> out) override;
  bool Write(std::uint64_t lba, std::span<const std::uint8_t> in) override;

 private:
  bool InRange(std::uint64_t lba, std::size_t size) const;

  SectorDevice& base_;
  std::uint64_t first_;
  std::uint64_t count_;
};

}  // namespace disk::fat
