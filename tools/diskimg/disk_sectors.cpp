#include "disk_sectors.h"

#include <algorithm>
#include <map>

namespace diskimg {
namespace {

// The slots of a track's sectors ordered by R when they are R = 1..count of one size code.
bool RegularTrack(const SectorRecord* track, std::uint8_t n, std::uint32_t count,
                  std::vector<int>* byR) {
  byR->assign(count, -1);
  for (int slot = 0; slot < kSlots && !track[slot].IsEmpty(); ++slot) {
    const SectorRecord& r = track[slot];
    if (r.N != n || r.R == 0 || r.R > count || (*byR)[r.R - 1] >= 0) return false;
    (*byR)[r.R - 1] = slot;
  }
  return std::find(byR->begin(), byR->end(), -1) == byR->end();
}

std::uint32_t CountOnTrack(const SectorRecord* track) {
  std::uint32_t count = 0;
  while (count < kSlots && !track[count].IsEmpty()) ++count;
  return count;
}

}  // namespace

std::unique_ptr<FloppySectors> FloppySectors::Build(const Tables& tables, PatchedFile& file,
                                                    std::uint64_t diskStart) {
  // The shape most tracks share; a first track in another shape (FM on track 0 of some 2HD
  // layouts) has no file system anyway.
  std::map<std::pair<std::uint32_t, std::uint8_t>, int> shapes;
  for (int track = 0; track < kTracks; ++track) {
    const std::uint32_t count = CountOnTrack(tables.sectors[track]);
    if (count != 0) ++shapes[{count, tables.sectors[track][0].N}];
  }
  if (shapes.empty()) return nullptr;
  const auto shape = std::max_element(shapes.begin(), shapes.end(), [](auto& a, auto& b) {
                       return a.second < b.second;
                     })->first;
  std::unique_ptr<FloppySectors> device(new FloppySectors(file, SizeOfN(shape.second)));
  device->perTrack_ = shape.first;
  std::vector<int> byR;
  for (int track = 0; track < kTracks; ++track) {
    const SectorRecord* slots = tables.sectors[track];
    if (CountOnTrack(slots) != shape.first || !RegularTrack(slots, shape.second, shape.first, &byR))
      break;
    for (int slot : byR) device->offsets_.push_back(diskStart + slots[slot].dataOffset);
  }
  if (device->offsets_.empty()) return nullptr;
  return device;
}

bool FloppySectors::InRange(std::uint64_t lba, std::size_t bytes) const {
  return bytes % size_ == 0 && lba <= offsets_.size() && bytes / size_ <= offsets_.size() - lba;
}

bool FloppySectors::Read(std::uint64_t lba, std::span<std::uint8_t> out) {
  if (!InRange(lba, out.size())) return false;
  for (std::size_t i = 0; i < out.size() / size_; ++i)
    if (!file_.Read(offsets_[lba + i], out.subspan(i * size_, size_))) return false;
  return true;
}

bool FloppySectors::Write(std::uint64_t lba, std::span<const std::uint8_t> in) {
  if (!InRange(lba, in.size())) return false;
  for (std::size_t i = 0; i < in.size() / size_; ++i)
    file_.Write(offsets_[lba + i], in.subspan(i * size_, size_));
  return true;
}

bool HardDiskSectors::InRange(std::uint64_t lba, std::size_t bytes) const {
  const std::uint64_t count = SectorCount();
  return bytes % geometry_.sectorSize == 0 && lba <= count &&
         bytes / geometry_.sectorSize <= count - lba;
}

bool HardDiskSectors::Read(std::uint64_t lba, std::span<std::uint8_t> out) {
  return InRange(lba, out.size()) &&
         file_.Read(geometry_.dataOffset + lba * geometry_.sectorSize, out);
}

bool HardDiskSectors::Write(std::uint64_t lba, std::span<const std::uint8_t> in) {
  if (!InRange(lba, in.size())) return false;
  file_.Write(geometry_.dataOffset + lba * geometry_.sectorSize, in);
  return true;
}

}  // namespace diskimg
