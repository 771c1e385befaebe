// The changing side of Volume: allocation, files written and replaced, directories made and
// entries removed.
#include <algorithm>
#include <cstring>

#include "fat/volume.h"

namespace disk::fat {

FatStatus Volume::FlushFat() {
  for (std::uint32_t i = 0; i < layout_.fatCount; ++i) {
    const std::uint32_t sector = layout_.reservedSectors + i * layout_.sectorsPerFat;
    if (!WriteBytes(device_, layout_.SectorOffset(sector), fat_.Bytes())) {
      return FatStatus::kIoError;
    }
  }
  return FatStatus::kOk;
}

FatStatus Volume::Allocate(std::uint32_t count, std::vector<std::uint32_t>* chain) {
  chain->clear();
  if (count > fat_.FreeCount()) return FatStatus::kDiskFull;
  const std::uint32_t end = kFirstCluster + fat_.ClusterCount();
  std::uint32_t cluster = nextFree_;
  while (chain->size() < count) {
    if (cluster < kFirstCluster || cluster >= end) cluster = kFirstCluster;
    if (fat_.Get(cluster) == 0) {
      fat_.Set(cluster, fat_.EndMark());  // taken, so the search does not pick it twice
      chain->push_back(cluster);
    }
    ++cluster;
  }
  nextFree_ = cluster;
  for (std::size_t i = 0; i + 1 < chain->size(); ++i) fat_.Set((*chain)[i], (*chain)[i + 1]);
  return FatStatus::kOk;
}

void Volume::Free(const std::vector<std::uint32_t>& chain) {
  for (std::uint32_t cluster : chain) fat_.Set(cluster, 0);
}

FatStatus Volume::WriteChain(const std::vector<std::uint32_t>& chain,
                             std::span<const std::uint8_t> data) {
  const std::size_t clusterBytes = layout_.ClusterBytes();
  std::vector<std::uint8_t> buffer(clusterBytes);
  for (std::size_t i = 0; i < chain.size(); ++i) {
    const std::size_t at = i * clusterBytes;
    const std::size_t length = at < data.size() ? std::min(clusterBytes, data.size() - at) : 0;
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    if (length != 0) std::memcpy(buffer.data(), data.data() + at, length);
    if (FatStatus s = WriteCluster(chain[i], buffer); s != FatStatus::kOk) return s;
  }
  return FatStatus::kOk;
}

bool Volume::FindFreeSlot(const Directory& dir, std::size_t* slot) {
  for (std::size_t i = 0; i < dir.Slots(); ++i) {
    const std::uint8_t first = dir.Slot(i)[0];
    if (first == kEntryEnd || first == kEntryDeleted) {
      *slot = i;
      return true;
    }
  }
  return false;
}

FatStatus Volume::Grow(Directory& dir, std::size_t* slot) {
  std::vector<std::uint32_t> added;
  if (FatStatus s = Allocate(1, &added); s != FatStatus::kOk) return s;
  const std::vector<std::uint8_t> empty(layout_.ClusterBytes());
  if (FatStatus s = WriteCluster(added[0], empty); s != FatStatus::kOk) return s;
  fat_.Set(dir.clusters.back(), added[0]);
  dir.clusters.push_back(added[0]);
  *slot = dir.Slots();
  dir.bytes.insert(dir.bytes.end(), empty.begin(), empty.end());
  return FatStatus::kOk;
}

FatStatus Volume::Create(Directory& parent, const ShortName& name, std::uint8_t attributes,
                         DosTimestamp written, std::span<const std::uint8_t> data) {
  const bool directory = (attributes & kAttrDirectory) != 0;
  const std::uint32_t clusters = directory ? 1 : ClustersFor(data.size());
  // Room for the clusters and, when the directory is full, one more to grow it.
  std::size_t slot = 0;
  const bool grows = !FindFreeSlot(parent, &slot);
  if (grows && parent.cluster == 0) return FatStatus::kRootFull;
  if (clusters + (grows ? 1u : 0u) > fat_.FreeCount()) return FatStatus::kDiskFull;
  if (grows) {
    if (FatStatus s = Grow(parent, &slot); s != FatStatus::kOk) return s;
  }
  std::vector<std::uint32_t> chain;
  if (FatStatus s = Allocate(clusters, &chain); s != FatStatus::kOk) return s;

  DirEntry entry;
  entry.name = name;
  entry.attributes = attributes;
  entry.written = written;
  entry.firstCluster = chain.empty() ? 0 : chain[0];
  entry.size = directory ? 0 : static_cast<std::uint32_t>(data.size());
  if (directory) {
    std::vector<std::uint8_t> block(layout_.ClusterBytes());
    DirEntry dot = entry;
    dot.name = *MakeShortName(".");
    EncodeEntry(dot, block.data());
    dot.name = *MakeShortName("..");
    dot.firstCluster = parent.cluster;
    EncodeEntry(dot, block.data() + kDirEntrySize);
    if (FatStatus s = WriteChain(chain, block); s != FatStatus::kOk) return s;
  } else if (FatStatus s = WriteChain(chain, data); s != FatStatus::kOk) {
    return s;
  }
  std::memset(parent.Slot(slot), 0, kDirEntrySize);
  EncodeEntry(entry, parent.Slot(slot));
  if (FatStatus s = FlushFat(); s != FatStatus::kOk) return s;
  return StoreSlot(parent, slot);
}

FatStatus Volume::Replace(Found& found, std::span<const std::uint8_t> data, DosTimestamp written) {
  std::vector<std::uint32_t> old;
  if (found.entry.firstCluster != 0) {
    if (FatStatus s = Chain(found.entry.firstCluster, &old); s != FatStatus::kOk) return s;
  }
  const std::uint32_t clusters = ClustersFor(data.size());
  const std::uint32_t free = fat_.FreeCount();
  if (clusters > free + old.size()) return FatStatus::kDiskFull;
  // The old contents stay until the new ones are written, unless only their room is left.
  const bool reuse = clusters > free;
  if (reuse) Free(old);
  std::vector<std::uint32_t> chain;
  if (FatStatus s = Allocate(clusters, &chain); s != FatStatus::kOk) return s;
  if (FatStatus s = WriteChain(chain, data); s != FatStatus::kOk) return s;
  if (!reuse) Free(old);

  found.entry.firstCluster = chain.empty() ? 0 : chain[0];
  found.entry.size = static_cast<std::uint32_t>(data.size());
  found.entry.written = written;
  found.entry.attributes |= kAttrArchive;
  EncodeEntry(found.entry, found.parent.Slot(found.slot));
  if (FatStatus s = FlushFat(); s != FatStatus::kOk) return s;
  return StoreSlot(found.parent, found.slot);
}

FatStatus Volume::WriteFile(std::string_view path, std::span<const std::uint8_t> data,
                            DosTimestamp written) {
  if (data.size() > 0xFFFFFFFFu) return FatStatus::kTooLarge;
  Found found;
  const FatStatus s = Find(path, &found);
  if (s == FatStatus::kOk) {
    if (found.entry.IsDirectory()) return FatStatus::kIsDirectory;
    return Replace(found, data, written);
  }
  if (s != FatStatus::kNotFound || !found.parentFound) return s;
  if (found.name[0] == '.') return FatStatus::kBadName;
  return Create(found.parent, found.name, kAttrArchive, written, data);
}

FatStatus Volume::MakeDirectory(std::string_view path, DosTimestamp written) {
  Found found;
  const FatStatus s = Find(path, &found);
  if (s == FatStatus::kOk) return FatStatus::kExists;
  if (s != FatStatus::kNotFound || !found.parentFound) return s;
  if (found.name[0] == '.') return FatStatus::kBadName;
  return Create(found.parent, found.name, kAttrDirectory, written, {});
}

FatStatus Volume::Remove(std::string_view path) {
  Found found;
  if (FatStatus s = Find(path, &found); s != FatStatus::kOk) return s;
  if (found.root || found.entry.IsDotEntry()) return FatStatus::kBadName;
  if (found.entry.IsDirectory()) {
    std::vector<DirEntry> entries;
    if (FatStatus s = ListDirectory(found.entry.firstCluster, &entries); s != FatStatus::kOk) {
      return s;
    }
    if (std::any_of(entries.begin(), entries.end(),
                    [](const DirEntry& e) { return !e.IsDotEntry(); })) {
      return FatStatus::kNotEmpty;
    }
  }
  std::vector<std::uint32_t> chain;
  if (found.entry.firstCluster != 0) {
    if (FatStatus s = Chain(found.entry.firstCluster, &chain); s != FatStatus::kOk) return s;
  }
  Free(chain);
  // The long-name pieces written before the entry go with it.
  std::size_t first = found.slot;
  while (first > 0 && found.parent.Slot(first - 1)[0x0B] == kAttrLongName &&
         found.parent.Slot(first - 1)[0] != kEntryDeleted) {
    --first;
  }
  for (std::size_t i = first; i <= found.slot; ++i) found.parent.Slot(i)[0] = kEntryDeleted;
  if (FatStatus s = FlushFat(); s != FatStatus::kOk) return s;
  for (std::size_t i = first; i <= found.slot; ++i) {
    if (FatStatus s = StoreSlot(found.parent, i); s != FatStatus::kOk) return s;
  }
  return FatStatus::kOk;
}

}  // namespace disk::fat
