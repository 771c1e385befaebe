// A mounted FAT12/FAT16 volume: listing, reading and writing files by path. Paths use '/' or
// '\', name 8.3 entries in the disk's own bytes and match them without regard to ASCII case.
// Every change reaches the device before the call returns; both FAT copies are kept equal.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fat/dir_entry.h"
#include "fat/fat_layout.h"
#include "fat/fat_status.h"
#include "fat/fat_table.h"
#include "fat/sector_device.h"

namespace disk::fat {

class Volume {
 public:
  // Reads the boot sector and the first FAT. Without a usable BPB the layout is the one PC-98
  // MS-DOS gives a floppy of the device's sector size and count, taken only when the FAT starts
  // with that layout's media byte. The device must outlive the volume.
  static FatStatus Mount(SectorDevice& device, std::unique_ptr<Volume>* volume);

  const FatLayout& Layout() const { return layout_; }
  bool LayoutFromBpb() const { return fromBpb_; }
  const FatTable& Fat() const { return fat_; }
  std::uint64_t FreeBytes() const;

  // The entry a path names; the root is a directory entry with cluster 0.
  FatStatus Stat(std::string_view path, DirEntry* entry);
  // Files and directories in a directory, in stored order, without "." and "..", volume labels,
  // long-name pieces and deleted entries.
  FatStatus List(std::string_view path, std::vector<DirEntry>* entries);
  FatStatus ReadFile(std::string_view path, std::vector<std::uint8_t>* data);
  // Creates the file or replaces its contents (its attributes are kept, the archive bit set).
  // Fails with nothing changed when the disk lacks room.
  FatStatus WriteFile(std::string_view path, std::span<const std::uint8_t> data,
                      DosTimestamp written);
  FatStatus MakeDirectory(std::string_view path, DosTimestamp written);
  // A file, or a directory holding nothing but "." and "..".
  FatStatus Remove(std::string_view path);

  // Every live entry of the directory at `cluster` (0 = root), "." and ".." included.
  FatStatus ListDirectory(std::uint32_t cluster, std::vector<DirEntry>* entries);
  // Copy `index` of the FAT as stored, for comparing copies.
  FatStatus ReadFatCopy(std::uint32_t index, std::vector<std::uint8_t>* bytes);
  // The clusters of a chain from `first`; kCorrupt when it leaves the data area, meets a free
  // or bad cluster, or loops.
  FatStatus Chain(std::uint32_t first, std::vector<std::uint32_t>* clusters) const;

 private:
  struct Directory {
    std::uint32_t cluster = 0;  // 0 = the root
    std::vector<std::uint32_t> clusters;
    std::vector<std::uint8_t> bytes;
    std::size_t Slots() const { return bytes.size() / kDirEntrySize; }
    std::uint8_t* Slot(std::size_t index) { return bytes.data() + index * kDirEntrySize; }
    const std::uint8_t* Slot(std::size_t index) const {
      return bytes.data() + index * kDirEntrySize;
    }
  };
  struct Found {
    Directory parent;
    std::size_t slot = 0;
    DirEntry entry;
    bool root = false;
    bool parentFound = false;  // kNotFound then means only the last part is missing
    ShortName name{};          // of the last part
  };

  Volume(SectorDevice& device, const FatLayout& layout, bool fromBpb, FatTable fat);

  FatStatus LoadDirectory(std::uint32_t cluster, Directory* dir);
  FatStatus StoreSlot(const Directory& dir, std::size_t slot);
  // The directory that holds the last part of `path`, and that part; the root has no part.
  FatStatus FindParent(std::string_view path, Directory* parent, std::string* leaf);
  static bool FindSlot(const Directory& dir, const ShortName& name, std::size_t* slot);
  FatStatus Find(std::string_view path, Found* found);

  FatStatus ReadCluster(std::uint32_t cluster, std::span<std::uint8_t> out);
  FatStatus WriteCluster(std::uint32_t cluster, std::span<const std::uint8_t> in);
  // Takes `count` free clusters and links them into a chain ending in an end mark.
  FatStatus Allocate(std::uint32_t count, std::vector<std::uint32_t>* chain);
  void Free(const std::vector<std::uint32_t>& chain);
  FatStatus FlushFat();
  static bool FindFreeSlot(const Directory& dir, std::size_t* slot);
  // Adds an empty cluster to a subdirectory; `slot` is the first slot in it.
  FatStatus Grow(Directory& dir, std::size_t* slot);
  FatStatus WriteChain(const std::vector<std::uint32_t>& chain, std::span<const std::uint8_t> data);
  // A new entry in `parent` with its clusters: `data` for a file, "." and ".." for a directory.
  FatStatus Create(Directory& parent, const ShortName& name, std::uint8_t attributes,
                   DosTimestamp written, std::span<const std::uint8_t> data);
  FatStatus Replace(Found& found, std::span<const std::uint8_t> data, DosTimestamp written);
  std::uint32_t ClustersFor(std::uint64_t bytes) const;

  SectorDevice& device_;
  FatLayout layout_;
  bool fromBpb_;
  FatTable fat_;
  std::uint32_t nextFree_ = kFirstCluster;
};

}  // namespace disk::fat
