// The tool's one view of an image file, whatever its format: identified by its content, a
// floppy's tables loaded as a drive would hold them, a hard disk's geometry read from its header,
// and the disk as numbered sectors for the file system. Every change (sectors written, header
// fields edited) stays in memory until Commit writes the whole file through the safe replace.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fat/sector_device.h"
#include "formats/floppy_tables.h"
#include "formats/hard_disk_formats.h"
#include "formats/image_reader.h"
#include "patched_file.h"

namespace disk {
struct FloppyFormat;
}

namespace diskimg {

// The tables a drive holds for a floppy: every track's sector records and special reads.
using Tables = disk::FloppyTables;
using disk::SectorRecord;
using disk::SpecialReadRecord;
inline constexpr int kTracks = disk::kTrackCount;
inline constexpr int kSlots = disk::kSlotsPerTrack;

enum class Kind { kMfdR0, kMfdR1, kHeaderless, kFdi, kD88, kMhd, kHdi, kZhd };
const char* KindName(Kind kind);  // "MFD R0", "D88", ...
inline bool IsFloppyKind(Kind kind) {
  return kind < Kind::kMhd;
}

// IMAGE[::DISK][:PART]: disk N of a D88 file holding several, partition N of a hard disk (both
// counted from 1; 0 = not given). A path that exists as it stands is taken whole.
struct ImageName {
  std::string path;
  std::uint32_t disk = 0;
  std::uint32_t partition = 0;
};
ImageName ParseImageName(const std::string& text);

struct HardDiskGeometry {
  std::uint64_t dataOffset = 0;
  std::uint32_t cylinders = 0;
  std::uint32_t heads = 0;
  std::uint32_t sectors = 0;  // per track
  std::uint32_t sectorSize = 0;
  std::uint64_t DataBytes() const {
    return std::uint64_t{cylinders} * heads * sectors * sectorSize;
  }
};

std::uint32_t SizeOfN(std::uint8_t n);  // 128 << N, N of 7 and more counting as 8192

enum class OpenStatus { kOk, kUnreadable, kUnrecognised, kNoSuchDisk };

class Image {
 public:
  ~Image();
  // `reason` says why an image is not opened, in words for the user.
  static OpenStatus Open(const ImageName& named, std::unique_ptr<Image>* image,
                         std::string* reason);
  // Bytes built in memory (zeros after them up to `size`) as an image of `kind`, to be written to
  // `path` by Commit.
  static OpenStatus Build(std::vector<std::uint8_t> bytes, std::uint64_t size,
                          const std::string& path, std::unique_ptr<Image>* image,
                          std::string* reason);

  const std::string& Path() const { return path_; }
  Kind GetKind() const { return kind_; }
  bool IsFloppy() const { return IsFloppyKind(kind_); }
  std::uint64_t FileSize() const { return fileSize_; }
  std::uint32_t DiskCount() const { return diskCount_; }    // disks in a D88 file, else 1
  std::uint32_t DiskNumber() const { return diskNumber_; }  // the one opened, from 1
  std::uint64_t DiskStart() const { return diskStart_; }    // where it lies in the file
  std::uint64_t DiskSize() const { return diskSize_; }

  // Floppies: the tables and the data a record points at (one copy of size(N) or dataLength
  // bytes; past the end of the file they read as zeros).
  const Tables& Floppy() const { return *tables_; }
  // The disk's bytes as the formats read them (a hard disk's: the whole file); a floppy's data
  // offsets count from its start.
  disk::ImageReader& Reader() { return *reader_; }
  std::vector<std::uint8_t> SectorData(const SectorRecord& record, std::uint32_t copy) const;
  std::vector<std::uint8_t> SpecialData(const SpecialReadRecord& record, std::uint32_t copy) const;
  // Where the data of a record lie in the file.
  std::uint64_t FileOffset(std::uint32_t dataOffset) const { return diskStart_ + dataOffset; }

  // Hard disks: the geometry the header states, and as the formats library holds it.
  const HardDiskGeometry& Geometry() const { return geometry_; }
  const disk::HardDiskGeometry& HeaderGeometry() const { return header_; }

  // The comment of an MFD or MHD header, the name of a D88 disk (disk bytes, Shift_JIS).
  std::string Comment() const;
  std::uint32_t CommentCapacity() const;  // characters a comment may hold; 0 = no comment field
  bool WriteProtected() const;
  bool HasWriteProtectFlag() const;        // MFD and D88
  void SetComment(std::string_view text);  // at most CommentCapacity() characters
  void SetWriteProtect(bool protect);

  // The disk as numbered sectors; null when a floppy's tracks do not make one run of equal
  // sectors from track 0. Writes reach the file at Commit.
  disk::fat::SectorDevice* Device() { return device_.get(); }
  PatchedFile& File() { return file_; }
  const PatchedFile& File() const { return file_; }
  bool Changed() const { return file_.Changed(); }
  bool Commit(Progress& progress) { return file_.Commit(path_, progress); }

 private:
  Image() = default;
  OpenStatus Identify(std::uint32_t disk, std::string* reason);
  OpenStatus LoadFloppy(const disk::FloppyFormat& format, std::string* reason);
  OpenStatus LoadHardDisk(const std::uint8_t* header, std::string* reason);
  std::uint64_t CommentOffset() const;
  std::uint64_t WriteProtectOffset() const;

  std::string path_;
  PatchedFile file_;
  Kind kind_ = Kind::kHeaderless;
  std::uint64_t fileSize_ = 0;
  std::uint32_t diskCount_ = 1;
  std::uint32_t diskNumber_ = 1;
  std::uint64_t diskStart_ = 0;
  std::uint64_t diskSize_ = 0;
  std::unique_ptr<Tables> tables_;
  std::unique_ptr<disk::ImageReader> reader_;
  HardDiskGeometry geometry_;
  disk::HardDiskGeometry header_;
  std::unique_ptr<disk::fat::SectorDevice> device_;
};

}  // namespace diskimg
