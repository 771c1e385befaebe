#include "fat/sector_device.h"

#include <algorithm>
#include <cstring>

namespace disk::fat {

bool IsSupportedSectorSize(std::uint32_t size) {
  return size == 256 || size == 512 || size == 1024 || size == 2048;
}

namespace {

// Calls `step` for each sector the byte range touches, with the part of the sector it covers.
template <typename Step>
bool ForEachSector(SectorDevice& device, std::uint64_t offset, std::size_t size, Step step) {
  const std::uint32_t sectorSize = device.SectorSize();
  if (sectorSize == 0) return false;
  std::size_t done = 0;
  while (done < size) {
    const std::uint64_t at = offset + done;
    const std::uint64_t lba = at / sectorSize;
    const std::uint32_t within = static_cast<std::uint32_t>(at % sectorSize);
    // Aligned middle stretches go in one transfer.
    std::size_t length = std::min<std::size_t>(size - done, sectorSize - within);
    if (within == 0 && size - done >= sectorSize) {
      length = (size - done) / sectorSize * sectorSize;
    }
    if (!step(lba, within, done, length)) return false;
    done += length;
  }
  return true;
}

}  // namespace

bool ReadBytes(SectorDevice& device, std::uint64_t offset, std::span<std::uint8_t> out) {
  std::vector<std::uint8_t> sector(device.SectorSize());
  return ForEachSector(
      device, offset, out.size(),
      [&](std::uint64_t lba, std::uint32_t within, std::size_t done, std::size_t length) {
        if (within == 0 && length % sector.size() == 0) {
          return device.Read(lba, out.subspan(done, length));
        }
        if (!device.Read(lba, sector)) return false;
        std::memcpy(out.data() + done, sector.data() + within, length);
        return true;
      });
}

bool WriteBytes(SectorDevice& device, std::uint64_t offset, std::span<const std::uint8_t> in) {
  std::vector<std::uint8_t> sector(device.SectorSize());
  return ForEachSector(
      device, offset, in.size(),
      [&](std::uint64_t lba, std::uint32_t within, std::size_t done, std::size_t length) {
        if (within == 0 && length % sector.size() == 0) {
          return device.Write(lba, in.subspan(done, length));
        }
        if (!device.Read(lba, sector)) return false;
        std::memcpy(sector.data() + within, in.data() + done, length);
        return device.Write(lba, sector);
      });
}

MemoryDevice::MemoryDevice(std::uint32_t sectorSize, std::uint64_t sectorCount)
    : sectorSize_(sectorSize), bytes_(static_cast<std::size_t>(sectorSize * sectorCount)) {}

MemoryDevice::MemoryDevice(std::uint32_t sectorSize, std::vector<std::uint8_t> bytes)
    : sectorSize_(sectorSize), bytes_(std::move(bytes)) {
  bytes_.resize(sectorSize_ == 0 ? 0 : bytes_.size() / sectorSize_ * sectorSize_);
}

bool MemoryDevice::InRange(std::uint64_t lba, std::size_t size) const {
  if (sectorSize_ == 0 || size % sectorSize_ != 0) return false;
  const std::uint64_t count = SectorCount();
  return lba <= count && size / sectorSize_ <= count - lba;
}

bool MemoryDevice::Read(std::uint64_t lba, std::span<std::uint8_t> out) {
  if (!InRange(lba, out.size())) return false;
  std::memcpy(out.data(), bytes_.data() + lba * sectorSize_, out.size());
  return true;
}

bool MemoryDevice::Write(std::uint64_t lba, std::span<const std::uint8_t> in) {
  if (!InRange(lba, in.size())) return false;
  std::memcpy(bytes_.data() + lba * sectorSize_, in.data(), in.size());
  return true;
}

DeviceWindow::DeviceWindow(SectorDevice& base, std::uint64_t firstSector, std::uint64_t sectorCount)
    : base_(base), first_(firstSector), count_(sectorCount) {}

bool DeviceWindow::InRange(std::uint64_t lba, std::size_t size) const {
  const std::uint32_t sectorSize = base_.SectorSize();
  if (sectorSize == 0 || size % sectorSize != 0) return false;
  return lba <= count_ && size / sectorSize <= count_ - lba;
}

bool DeviceWindow::Read(std::uint64_t lba, std::span<std::uint8_t> out) {
  return InRange(lba, out.size()) && base_.Read(first_ + lba, out);
}

bool DeviceWindow::Write(std::uint64_t lba, std::span<const std::uint8_t> in) {
  return InRange(lba, in.size()) && base_.Write(first_ + lba, in);
}

}  // namespace disk::fat
