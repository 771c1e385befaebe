#include "fat/volume.h"

#include <algorithm>

namespace disk::fat {

namespace {

// DOS never lets a directory grow past 65536 entries; a longer chain is a broken one.
constexpr std::uint64_t kMaxDirectoryBytes = 65536u * kDirEntrySize;

bool IsListed(const std::uint8_t* slot) {
  const std::uint8_t attributes = slot[0x0B];
  return slot[0] != kEntryDeleted && attributes != kAttrLongName &&
         (attributes & kAttrVolumeLabel) == 0;
}

// The FAT of a BPB-less disk begins with the media byte and ones in every other bit.
bool FatStartsWithMedia(const std::vector<std::uint8_t>& fat, const FatLayout& layout) {
  const std::size_t marks = layout.Type() == FatType::kFat12 ? 2 : 3;
  if (fat.size() < marks + 1 || fat[0] != layout.media) return false;
  return std::all_of(fat.begin() + 1, fat.begin() + 1 + static_cast<std::ptrdiff_t>(marks),
                     [](std::uint8_t b) { return b == 0xFF; });
}

}  // namespace

Volume::Volume(SectorDevice& device, const FatLayout& layout, bool fromBpb, FatTable fat)
    : device_(device), layout_(layout), fromBpb_(fromBpb), fat_(std::move(fat)) {}

FatStatus Volume::Mount(SectorDevice& device, std::unique_ptr<Volume>* volume) {
  volume->reset();
  std::vector<std::uint8_t> boot(512);
  if (!ReadBytes(device, 0, boot)) return FatStatus::kIoError;
  const std::uint64_t deviceBytes = std::uint64_t{device.SectorSize()} * device.SectorCount();
  bool fromBpb = true;
  std::optional<FatLayout> layout = ReadBpb(boot, deviceBytes);
  if (!layout) {
    fromBpb = false;
    layout = LayoutForMedium(device.SectorSize(), device.SectorCount());
    if (!layout) return FatStatus::kNotFat;
  }
  std::vector<std::uint8_t> fat(std::size_t{layout->sectorsPerFat} * layout->bytesPerSector);
  if (!ReadBytes(device, layout->SectorOffset(layout->reservedSectors), fat)) {
    return FatStatus::kIoError;
  }
  if (!fromBpb && !FatStartsWithMedia(fat, *layout)) return FatStatus::kNotFat;
  FatTable table(layout->Type(), std::move(fat), layout->ClusterCount());
  volume->reset(new Volume(device, *layout, fromBpb, std::move(table)));
  return FatStatus::kOk;
}

std::uint64_t Volume::FreeBytes() const {
  return std::uint64_t{fat_.FreeCount()} * layout_.ClusterBytes();
}

std::uint32_t Volume::ClustersFor(std::uint64_t bytes) const {
  return static_cast<std::uint32_t>((bytes + layout_.ClusterBytes() - 1) / layout_.ClusterBytes());
}

FatStatus Volume::Chain(std::uint32_t first, std::vector<std::uint32_t>* clusters) const {
  clusters->clear();
  std::uint32_t cluster = first;
  while (true) {
    if (!fat_.IsDataCluster(cluster) || clusters->size() >= fat_.ClusterCount()) {
      return FatStatus::kCorrupt;
    }
    clusters->push_back(cluster);
    const std::uint32_t next = fat_.Get(cluster);
    if (fat_.IsEnd(next)) return FatStatus::kOk;
    cluster = next;
  }
}

FatStatus Volume::ReadCluster(std::uint32_t cluster, std::span<std::uint8_t> out) {
  return ReadBytes(device_, layout_.ClusterOffset(cluster), out) ? FatStatus::kOk
                                                                 : FatStatus::kIoError;
}

FatStatus Volume::WriteCluster(std::uint32_t cluster, std::span<const std::uint8_t> in) {
  return WriteBytes(device_, layout_.ClusterOffset(cluster), in) ? FatStatus::kOk
                                                                 : FatStatus::kIoError;
}

FatStatus Volume::LoadDirectory(std::uint32_t cluster, Directory* dir) {
  dir->cluster = cluster;
  dir->clusters.clear();
  if (cluster == 0) {
    dir->bytes.assign(std::size_t{layout_.RootSectors()} * layout_.bytesPerSector, 0);
    return ReadBytes(device_, layout_.SectorOffset(layout_.FirstRootSector()), dir->bytes)
               ? FatStatus::kOk
               : FatStatus::kIoError;
  }
  if (FatStatus s = Chain(cluster, &dir->clusters); s != FatStatus::kOk) return s;
  const std::uint32_t clusterBytes = layout_.ClusterBytes();
  if (std::uint64_t{clusterBytes} * dir->clusters.size() > kMaxDirectoryBytes) {
    return FatStatus::kCorrupt;
  }
  dir->bytes.assign(std::size_t{clusterBytes} * dir->clusters.size(), 0);
  for (std::size_t i = 0; i < dir->clusters.size(); ++i) {
    std::span<std::uint8_t> part(dir->bytes.data() + i * clusterBytes, clusterBytes);
    if (FatStatus s = ReadCluster(dir->clusters[i], part); s != FatStatus::kOk) return s;
  }
  return FatStatus::kOk;
}

FatStatus Volume::StoreSlot(const Directory& dir, std::size_t slot) {
  const std::uint64_t at = std::uint64_t{slot} * kDirEntrySize;
  std::uint64_t offset;
  if (dir.cluster == 0) {
    offset = layout_.SectorOffset(layout_.FirstRootSector()) + at;
  } else {
    const std::uint32_t clusterBytes = layout_.ClusterBytes();
    offset = layout_.ClusterOffset(dir.clusters[at / clusterBytes]) + at % clusterBytes;
  }
  return WriteBytes(device_, offset, std::span(dir.Slot(slot), kDirEntrySize))
             ? FatStatus::kOk
             : FatStatus::kIoError;
}

bool Volume::FindSlot(const Directory& dir, const ShortName& name, std::size_t* slot) {
  const ShortName wanted = FoldCase(name);
  for (std::size_t i = 0; i < dir.Slots(); ++i) {
    const std::uint8_t* s = dir.Slot(i);
    if (s[0] == kEntryEnd) break;
    if (!IsListed(s) || FoldCase(DecodeEntry(s).name) != wanted) continue;
    *slot = i;
    return true;
  }
  return false;
}

FatStatus Volume::FindParent(std::string_view path, Directory* parent, std::string* leaf) {
  std::vector<std::string> parts = SplitPath(path);
  leaf->clear();
  if (FatStatus s = LoadDirectory(0, parent); s != FatStatus::kOk) return s;
  if (parts.empty()) return FatStatus::kOk;
  *leaf = parts.back();
  parts.pop_back();
  for (const std::string& part : parts) {
    const std::optional<ShortName> name = MakeShortName(part);
    if (!name) return FatStatus::kBadName;
    std::size_t slot = 0;
    if (!FindSlot(*parent, *name, &slot)) return FatStatus::kNotFound;
    const DirEntry entry = DecodeEntry(parent->Slot(slot));
    if (!entry.IsDirectory()) return FatStatus::kNotDirectory;
    if (FatStatus s = LoadDirectory(entry.firstCluster, parent); s != FatStatus::kOk) return s;
  }
  return FatStatus::kOk;
}

FatStatus Volume::Find(std::string_view path, Found* found) {
  std::string leaf;
  if (FatStatus s = FindParent(path, &found->parent, &leaf); s != FatStatus::kOk) return s;
  found->root = leaf.empty();
  if (found->root) {
    found->entry = DirEntry{};
    found->entry.name.fill(' ');
    found->entry.attributes = kAttrDirectory;
    return FatStatus::kOk;
  }
  const std::optional<ShortName> name = MakeShortName(leaf);
  if (!name) return FatStatus::kBadName;
  found->parentFound = true;
  found->name = *name;
  if (!FindSlot(found->parent, *name, &found->slot)) return FatStatus::kNotFound;
  found->entry = DecodeEntry(found->parent.Slot(found->slot));
  return FatStatus::kOk;
}

FatStatus Volume::Stat(std::string_view path, DirEntry* entry) {
  Found found;
  FatStatus s = Find(path, &found);
  if (s == FatStatus::kOk) *entry = found.entry;
  return s;
}

FatStatus Volume::ListDirectory(std::uint32_t cluster, std::vector<DirEntry>* entries) {
  entries->clear();
  Directory dir;
  if (FatStatus s = LoadDirectory(cluster, &dir); s != FatStatus::kOk) return s;
  for (std::size_t i = 0; i < dir.Slots() && dir.Slot(i)[0] != kEntryEnd; ++i) {
    if (IsListed(dir.Slot(i))) entries->push_back(DecodeEntry(dir.Slot(i)));
  }
  return FatStatus::kOk;
}

FatStatus Volume::List(std::string_view path, std::vector<DirEntry>* entries) {
  entries->clear();
  Found found;
  if (FatStatus s = Find(path, &found); s != FatStatus::kOk) return s;
  if (!found.entry.IsDirectory()) return FatStatus::kNotDirectory;
  if (FatStatus s = ListDirectory(found.entry.firstCluster, entries); s != FatStatus::kOk) {
    return s;
  }
  std::erase_if(*entries, [](const DirEntry& e) { return e.IsDotEntry(); });
  return FatStatus::kOk;
}

FatStatus Volume::ReadFile(std::string_view path, std::vector<std::uint8_t>* data) {
  data->clear();
  Found found;
  if (FatStatus s = Find(path, &found); s != FatStatus::kOk) return s;
  if (found.entry.IsDirectory()) return FatStatus::kIsDirectory;
  if (found.entry.size == 0) return FatStatus::kOk;
  std::vector<std::uint32_t> chain;
  if (FatStatus s = Chain(found.entry.firstCluster, &chain); s != FatStatus::kOk) return s;
  if (chain.size() < ClustersFor(found.entry.size)) return FatStatus::kCorrupt;
  const std::uint32_t clusterBytes = layout_.ClusterBytes();
  data->resize(std::size_t{ClustersFor(found.entry.size)} * clusterBytes);
  for (std::size_t i = 0; i < data->size() / clusterBytes; ++i) {
    std::span<std::uint8_t> part(data->data() + i * clusterBytes, clusterBytes);
    if (FatStatus s = ReadCluster(chain[i], part); s != FatStatus::kOk) {
      data->clear();
      return s;
    }
  }
  data->resize(found.entry.size);
  return FatStatus::kOk;
}

FatStatus Volume::ReadFatCopy(std::uint32_t index, std::vector<std::uint8_t>* bytes) {
  bytes->assign(std::size_t{layout_.sectorsPerFat} * layout_.bytesPerSector, 0);
  if (index >= layout_.fatCount) return FatStatus::kNotFound;
  const std::uint32_t sector = layout_.reservedSectors + index * layout_.sectorsPerFat;
  return ReadBytes(device_, layout_.SectorOffset(sector), *bytes) ? FatStatus::kOk
                                                                  : FatStatus::kIoError;
}

}  // namespace disk::fat
