#include "fat/fat_table.h"

#include "formats/byte_fields.h"

namespace disk::fat {

FatTable::FatTable(FatType type, std::vector<std::uint8_t> bytes, std::uint32_t clusterCount)
    : type_(type), bytes_(std::move(bytes)), clusterCount_(clusterCount) {}

std::uint32_t FatTable::Get(std::uint32_t cluster) const {
  if (type_ == FatType::kFat16) {
    const std::size_t at = std::size_t{cluster} * 2;
    return at + 2 <= bytes_.size() ? LoadU16(&bytes_[at]) : 0xFFF7u;
  }
  const std::size_t at = std::size_t{cluster} * 3 / 2;
  if (at + 2 > bytes_.size()) return 0xFF7u;
  const std::uint32_t pair = LoadU16(&bytes_[at]);
  return (cluster & 1) ? pair >> 4 : pair & 0xFFF;
}

void FatTable::Set(std::uint32_t cluster, std::uint32_t value) {
  if (type_ == FatType::kFat16) {
    const std::size_t at = std::size_t{cluster} * 2;
    if (at + 2 <= bytes_.size()) StoreU16(&bytes_[at], value);
    return;
  }
  const std::size_t at = std::size_t{cluster} * 3 / 2;
  if (at + 2 > bytes_.size()) return;
  std::uint32_t pair = LoadU16(&bytes_[at]);
  pair =
      (cluster & 1) ? (pair & 0x000F) | ((value & 0xFFF) << 4) : (pair & 0xF000) | (value & 0xFFF);
  StoreU16(&bytes_[at], pair);
}

std::uint32_t FatTable::FreeCount() const {
  std::uint32_t free = 0;
  for (std::uint32_t c = kFirstCluster; c < kFirstCluster + clusterCount_; ++c) {
    if (Get(c) == 0) ++free;
  }
  return free;
}

}  // namespace disk::fat
