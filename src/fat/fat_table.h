// The file allocation table of a volume, held in memory as the bytes of one copy.
#pragma once

#include <cstdint>
#include <vector>

#include "fat/fat_layout.h"

namespace disk::fat {

class FatTable {
 public:
  FatTable() = default;
  FatTable(FatType type, std::vector<std::uint8_t> bytes, std::uint32_t clusterCount);

  // The entry of `cluster`; 0 = free. Clusters outside the table read as bad.
  std::uint32_t Get(std::uint32_t cluster) const;
  void Set(std::uint32_t cluster, std::uint32_t value);

  bool IsEnd(std::uint32_t value) const {
    return value >= (type_ == FatType::kFat12 ? 0xFF8u : 0xFFF8u);
  }
  bool IsBad(std::uint32_t value) const {
    return value == (type_ == FatType::kFat12 ? 0xFF7u : 0xFFF7u);
  }
  std::uint32_t EndMark() const { return type_ == FatType::kFat12 ? 0xFFF : 0xFFFF; }
  // A cluster number that can stand in a chain: 2 up to the last data cluster.
  bool IsDataCluster(std::uint32_t value) const {
    return value >= kFirstCluster && value < kFirstCluster + clusterCount_;
  }
  std::uint32_t ClusterCount() const { return clusterCount_; }
  std::uint32_t FreeCount() const;

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  FatType type_ = FatType::kFat12;
  std::vector<std::uint8_t> bytes_;
  std::uint32_t clusterCount_ = 0;
};

}  // namespace disk::fat
