#include "formats/image_info.h"

#include <algorithm>
#include <memory>
#include <new>

#include "formats/byte_fields.h"
#include "formats/d88.h"
#include "formats/floppy_geometry.h"
#include "formats/floppy_loaders.h"
#include "formats/hard_disk_formats.h"
#include "formats/mhd.h"

namespace disk {
namespace {

// One disk of a D88 file that holds several, seen as an image of its own.
class WindowReader final : public ImageReader {
 public:
  WindowReader(ImageReader& whole, std::uint32_t start, std::uint32_t size)
      : whole_(whole), start_(start), size_(size) {}
  std::uint64_t Size() override { return size_; }
  std::uint32_t Read(std::uint32_t offset, void* buffer, std::uint32_t count) override {
    if (offset >= size_) return 0;
    return whole_.Read(start_ + offset, buffer, std::min(count, size_ - offset));
  }

 private:
  ImageReader& whole_;
  std::uint32_t start_;
  std::uint32_t size_;
};

void SummarizeTracks(const FloppyTables& tables, ImageInfo& info) {
  int lastTrack = -1;
  bool twoSides = false;
  for (int track = 0; track < kTrackCount; ++track) {
    const std::uint32_t count = tables.SectorsOnTrack(track);
    for (std::uint32_t slot = 0; slot < count; ++slot)
      info.sectorSize = std::max(info.sectorSize, SectorSize(tables.sectors[track][slot].N));
    if (count == 0) continue;
    lastTrack = track;
    twoSides = twoSides || (track & 1) != 0;
    info.sectorsPerTrack = std::max(info.sectorsPerTrack, count);
  }
  if (lastTrack < 0) return;
  info.cylinders = static_cast<std::uint32_t>(lastTrack / 2 + 1);
  info.heads = twoSides ? 2 : 1;
}

void DescribeFloppy(ImageReader& reader, const FloppyFormat& format, ImageInfo& info) {
  info.format = format.format;
  info.formatName = format.name;
  std::unique_ptr<FloppyTables> tables(new (std::nothrow) FloppyTables);
  if (tables == nullptr) return;
  tables->ClearTables();
  if (!format.load(reader, *tables)) return;
  info.mountable = true;
  CopyTextField(info.comment, sizeof info.comment,
                reinterpret_cast<const std::uint8_t*>(tables->comment), sizeof tables->comment);
  info.writeProtect = tables->writeProtect != 0;
  SummarizeTracks(*tables, info);
}

ImageInfo DescribeFloppyImage(ImageReader& reader) {
  ImageInfo info;
  if (const FloppyFormat* format = IdentifyFloppyImage(reader)) {
    info.diskCount = 1;
    DescribeFloppy(reader, *format, info);
    return info;
  }
  const std::uint32_t disks = D88DiskCount(reader);
  std::uint8_t field[4];
  if (disks < 2 || !reader.ReadExact(d88::kDiskSizeOffset, field, sizeof field)) return info;
  WindowReader first(reader, 0, LoadU32(field));
  for (const FloppyFormat& format : FloppyFormats())
    if (format.format == ImageFormat::kD88) DescribeFloppy(first, format, info);
  info.diskCount = disks;
  info.mountable = false;  // a drive takes a file of one disk only
  return info;
}

// The geometry as the header states it; mountable when a drive would take it.
ImageInfo DescribeHardDiskImage(ImageReader& reader) {
  ImageInfo info;
  std::uint8_t header[kHardDiskHeaderRead];
  if (!reader.ReadExact(0, header, sizeof header)) return info;
  for (const HardDiskFormat& format : HardDiskFormats()) {
    if (!format.identify(header)) continue;
    const HardDiskGeometry g = format.load(header);
    info.format = format.format;
    info.formatName = format.name;
    info.mountable = CheckHardDiskGeometry(g) == HardDiskRefusal::kNone;
    info.diskCount = 1;
    info.cylinders = g.cylinders;
    info.heads = g.heads;
    info.sectorsPerTrack = g.sectors;
    info.sectorSize = g.sectorSize;
    if (g.format == ImageFormat::kMhd)
      CopyTextField(info.comment, sizeof info.comment, header + mhd::kCommentOffset,
                    mhd::kCommentSize);
    break;
  }
  return info;
}

}  // namespace

ImageInfo Describe(ImageReader& reader, Medium medium) {
  return medium == Medium::kFloppy ? DescribeFloppyImage(reader) : DescribeHardDiskImage(reader);
}

}  // namespace disk
