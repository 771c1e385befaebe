#include "examine.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "common.h"
#include "fat/check.h"
#include "fat/pc98_partition_table.h"
#include "fat/volume.h"
#include "formats/byte_fields.h"
#include "formats/d88.h"
#include "formats/floppy_geometry.h"
#include "formats/hard_disk_formats.h"
#include "formats/headerless.h"
#include "formats/mfd.h"
#include "formats/mhd.h"
#include "progress.h"

namespace diskimg {
namespace {

using Findings = std::vector<Finding>;
using disk::LoadU16;
using disk::LoadU32;

constexpr std::uint64_t k2GiB = std::uint64_t{1} << 31;

void Problem(Findings& f, std::string text) {
  f.push_back({true, std::move(text)});
}
void Warning(Findings& f, std::string text) {
  f.push_back({false, std::move(text)});
}

std::string Where(int track) {
  return "track " + std::to_string(track) + " (cylinder " + std::to_string(track / 2) + " side " +
         std::to_string(track % 2) + ")";
}

// Data offsets past the end, records no drive reaches, sectors of one ID twice.
void ExamineRecords(const Image& image, Findings& f) {
  const Tables& t = image.Floppy();
  const std::uint64_t size = image.DiskSize();
  int pastEnd = 0;
  std::string first;
  std::uint64_t dataEnd = 0;
  for (int track = 0; track < kTracks; ++track) {
    const std::uint32_t count = t.SectorsOnTrack(track);
    std::set<std::pair<int, int>> ids;
    bool twice = false;
    for (std::uint32_t slot = 0; slot < count; ++slot) {
      const SectorRecord& r = t.sectors[track][slot];
      const std::uint64_t end = r.dataOffset + (r.repeatCount + 1ull) * SizeOfN(r.N);
      dataEnd = std::max(dataEnd, end);
      if (end > size && pastEnd++ == 0) first = Where(track) + " R " + std::to_string(r.R);
      twice = !ids.insert({r.R, r.N}).second || twice;
    }
    for (const SpecialReadRecord& s : t.specials[track]) {
      if (s.EndsList()) continue;
      const std::uint64_t end = s.dataOffset + (s.repeatCount + 1ull) * s.dataLength;
      dataEnd = std::max(dataEnd, end);
      if (end > size && pastEnd++ == 0) first = Where(track) + " special read";
    }
    if (twice) Warning(f, Where(track) + ": two sectors of one ID; reads return the first's data");
    int hidden = 0;
    for (int slot = static_cast<int>(count) + 1; slot < kSlots; ++slot)
      hidden += t.sectors[track][slot].IsEmpty() ? 0 : 1;
    if (hidden != 0)
      Warning(f, Where(track) + ": " + std::to_string(hidden) +
                     " records after an empty place, which no drive reaches");
  }
  if (pastEnd != 0)
    Problem(f, std::to_string(pastEnd) + " records have data past the end of the image (" +
                   Grouped(size) + " bytes), first " + first);
  else if (dataEnd != 0 && image.GetKind() != Kind::kD88 && dataEnd < size)
    Warning(f,
            Grouped(size - dataEnd) + " bytes after the last sector's data, which nothing reads");
}

void ExamineD88(const Image& image, Findings& f) {
  const PatchedFile& file = image.File();
  std::uint8_t header[disk::d88::kHeaderSize];
  if (!file.Read(image.DiskStart(), header)) return;
  std::uint32_t lowest = UINT32_MAX;
  for (int track = 0; track < kTracks; ++track) {
    const std::uint32_t at = LoadU32(header + disk::d88::kTrackTableOffset + 4 * track);
    if (at != 0) lowest = std::min(lowest, at);
  }
  if (lowest < disk::d88::kHeaderSize)
    Problem(f, "the D88 track table (" + std::to_string(disk::d88::kHeaderSize) +
                   " bytes) runs into the first track at offset " + std::to_string(lowest));
  int mismatched = 0;
  std::string first;
  for (int track = 0; track < kTracks; ++track) {
    std::uint64_t at = LoadU32(header + disk::d88::kTrackTableOffset + 4 * track);
    if (at == 0) continue;
    const std::uint32_t count = image.Floppy().SectorsOnTrack(track);
    for (std::uint32_t i = 0; i < count; ++i) {
      std::uint8_t head[disk::d88::kSectorHeadSize];
      if (!file.Read(image.DiskStart() + at, head)) break;
      const std::uint32_t stored = LoadU16(head + 14);
      if (stored != disk::SectorSize(head[3]) && mismatched++ == 0)
        first = Where(track) + " R " + std::to_string(head[2]) + " stores " +
                std::to_string(stored) + " bytes for a sector of " +
                std::to_string(disk::SectorSize(head[3]));
      at += disk::d88::kSectorHeadSize + stored;
    }
  }
  if (mismatched != 0)
    Problem(f, std::to_string(mismatched) +
                   " D88 sectors store another size than their N says, so a drive reads the "
                   "bytes after them; first " +
                   first);
}

void ExamineMfd(const Image& image, Findings& f) {
  std::uint8_t field[4];
  if (!image.File().Read(disk::mfd::kHeaderSizeOffset, field)) return;
  const std::uint32_t stated = LoadU32(field);
  if (image.GetKind() == Kind::kMfdR0 && stated != disk::mfd::kR0HeaderSize)
    Warning(f, "MFD R0 header size field says " + std::to_string(stated) + ", the header is " +
                   std::to_string(disk::mfd::kR0HeaderSize));
  if (image.GetKind() == Kind::kMfdR1 && stated < disk::mfd::kR1FixedHeader)
    Problem(f, "MFD R1 header size " + std::to_string(stated) + " puts the data inside the header");
}

// The leading block of an FDI image, when it carries a header, describes the same disk.
void ExamineFdi(const Image& image, Findings& f) {
  std::uint8_t block[32];
  if (!image.File().Read(0, block) || LoadU32(block) != 0 ||
      LoadU32(block + disk::headerless::kFdiHeaderSizeOffset) != disk::headerless::kLeadingBlock)
    return;
  const disk::UniformLayout* layout = disk::FindHeaderlessLayout(image.FileSize());
  const std::uint32_t cylinders = LoadU32(block + disk::headerless::kFdiCylindersOffset);
  const std::uint32_t sectors = LoadU32(block + disk::headerless::kFdiSectorsOffset);
  const std::uint32_t size = LoadU32(block + disk::headerless::kFdiSectorSizeOffset);
  if (cylinders != layout->cylinders || sectors != layout->sectorsPerTrack ||
      size != disk::SectorSize(layout->n))
    Warning(f, "FDI header says " + std::to_string(cylinders) + " cylinders of " +
                   std::to_string(sectors) + " sectors of " + std::to_string(size) +
                   " bytes; the file's size gives " + std::to_string(layout->cylinders) + " of " +
                   std::to_string(layout->sectorsPerTrack) + " of " +
                   std::to_string(disk::SectorSize(layout->n)));
}

void ExamineHardDisk(const Image& image, Findings& f) {
  const disk::HardDiskGeometry& g = image.HeaderGeometry();
  const std::uint64_t fileSize = image.FileSize();
  const std::uint64_t end = disk::GeometryEnd(g);
  if (const auto refusal = disk::CheckHardDiskGeometry(g);
      refusal != disk::HardDiskRefusal::kNone) {
    Problem(f, "a drive does not mount it: " + disk::HardDiskRefusalText(refusal, g));
    return;
  }
  if (disk::GeometryFarExceedsFile(g, fileSize))
    Problem(f, "the geometry describes " + Grouped(end) + " bytes, far more than the file's " +
                   Grouped(fileSize));
  else if (image.GetKind() == Kind::kZhd && end != fileSize)
    Warning(f, "ZHD header says " + std::to_string(g.cylinders) + " cylinders (" + Grouped(end) +
                   " bytes), the file holds " + Grouped(fileSize));
  else if (end > fileSize)
    Warning(f, "the file ends " + Grouped(end - fileSize) +
                   " bytes before the last sector; reads past it give zeros");
  else if (end < fileSize)
    Warning(f, Grouped(fileSize - end) + " bytes after the last sector, which nothing reads");
  std::uint8_t header[32];
  if (!image.File().Read(0, header)) return;
  if (image.GetKind() == Kind::kMhd && g.dataOffset < disk::mhd::kHeaderSize)
    Warning(f, "MHD header size " + std::to_string(g.dataOffset) +
                   " puts the first sectors over the header");
  if (image.GetKind() == Kind::kHdi && LoadU32(header + 12) != image.Geometry().DataBytes())
    Warning(f, "HDI data size field says " + Grouped(LoadU32(header + 12)) +
                   ", the geometry gives " + Grouped(image.Geometry().DataBytes()));
}

void CheckVolume(disk::fat::SectorDevice& device, const std::string& where, Findings& f) {
  std::unique_ptr<disk::fat::Volume> volume;
  if (disk::fat::Volume::Mount(device, &volume) != disk::fat::FatStatus::kOk) return;
  for (const disk::fat::Problem& p : disk::fat::Check(*volume).problems)
    Problem(f, "file system" + where + ": " + (p.path.empty() ? "" : "/" + p.path + ": ") + p.text);
}

void ExamineFileSystems(Image& image, Findings& f) {
  disk::fat::SectorDevice* device = image.Device();
  if (device == nullptr) return;
  if (image.IsFloppy()) return CheckVolume(*device, "", f);
  const HardDiskGeometry& g = image.Geometry();
  std::vector<disk::fat::Pc98Partition> partitions;
  const auto status = disk::fat::ReadPc98Partitions(*device, {g.heads, g.sectors}, &partitions);
  if (status == disk::fat::TableStatus::kInvalid)
    Problem(f, "the partition table holds an entry no PC-98 tool writes, or one past the disk");
  if (status != disk::fat::TableStatus::kFound) return;
  for (std::size_t i = 0; i < partitions.size(); ++i) {
    disk::fat::DeviceWindow window(*device, partitions[i].firstSector, partitions[i].sectorCount);
    CheckVolume(window, " of partition " + std::to_string(i + 1), f);
  }
}

}  // namespace

std::vector<Finding> Examine(Image& image) {
  Findings f;
  if (image.FileSize() >= k2GiB)
    Warning(f, "the file is 2 GiB or more; tools with 32-bit file positions cannot take it");
  if (image.DiskCount() > 1)
    Warning(f, "the file holds " + std::to_string(image.DiskCount()) +
                   " disks; a drive takes a file of one disk (convert --split)");
  switch (image.GetKind()) {
    case Kind::kD88:
      ExamineD88(image, f);
      break;
    case Kind::kMfdR0:
    case Kind::kMfdR1:
      ExamineMfd(image, f);
      break;
    case Kind::kFdi:
      ExamineFdi(image, f);
      break;
    case Kind::kHeaderless:
      break;
    default:
      ExamineHardDisk(image, f);
  }
  if (image.IsFloppy()) ExamineRecords(image, f);
  ExamineFileSystems(image, f);
  return f;
}

std::vector<Finding> Diagnose(const std::string& path) {
  Findings f;
  PatchedFile file;
  if (!file.OpenFile(path)) return f;
  const std::uint64_t size = file.Size();
  std::uint8_t header[disk::d88::kHeaderSize] = {};
  if (!file.Read(0, header)) return f;
  if (disk::HasSignature(header, disk::mfd::kR0Signature) ||
      disk::HasSignature(header, disk::mfd::kR1Signature)) {
    const bool r0 = header[13] == '0';
    const std::uint64_t needed = r0 ? disk::mfd::kR0HeaderSize : disk::mfd::kR1FixedHeader;
    if (size < needed) {
      Problem(f, std::string(r0 ? "MFD R0" : "MFD R1") + " header is " + Grouped(needed) +
                     " bytes; the file holds " + Grouped(size));
    } else if (!r0) {
      std::vector<std::uint8_t> fixed(disk::mfd::kR1FixedHeader);
      file.Read(0, fixed);
      for (int track = 0; track < kTracks && f.empty(); ++track) {
        const std::uint32_t block =
            LoadU32(fixed.data() + disk::mfd::kTrackTableOffset + 4 * track);
        std::uint8_t head[4] = {};
        if (block == 0) continue;
        if (block + 16ull > size || !file.Read(block, head))
          Problem(f, "MFD R1 block of " + Where(track) + " at " + std::to_string(block) +
                         " lies past the end of the file (" + Grouped(size) + " bytes)");
        else if (LoadU16(head) > kSlots || LoadU16(head + 2) > kSlots)
          Problem(f, "MFD R1 block of " + Where(track) + " announces more than " +
                         std::to_string(kSlots) + " records");
      }
      if (f.empty()) Problem(f, "MFD R1 track blocks run past the end of the file");
    }
    return f;
  }
  // D88: a track table that starts right behind the header (or a 160-track one).
  std::uint32_t firstTrack = 0;
  for (int track = 0; track < kTracks && firstTrack == 0; ++track)
    firstTrack = LoadU32(header + disk::d88::kTrackTableOffset + 4 * track);
  const std::uint32_t stated = LoadU32(header + disk::d88::kDiskSizeOffset);
  if (size >= disk::d88::kHeaderSize &&
      (firstTrack == disk::d88::kHeaderSize || firstTrack == disk::d88::kHeaderSize - 16)) {
    if (stated != size) {
      Problem(f, "D88 disk size " + std::to_string(stated) + " is not the file size " +
                     std::to_string(size));
      return f;
    }
    for (int track = 0; track < kTracks; ++track) {
      const std::uint32_t at = LoadU32(header + disk::d88::kTrackTableOffset + 4 * track);
      if (at != 0 && at + std::uint64_t{disk::d88::kSectorHeadSize} > size) {
        Problem(f, "D88 " + Where(track) + " at offset " + std::to_string(at) +
                       " lies past the end of the disk (" + std::to_string(size) + " bytes)");
        return f;
      }
    }
    Problem(f, "D88 sectors run past the end of the disk");
    return f;
  }
  if (disk::HasSignature(header, disk::mhd::kSignature) || disk::IsHdi(header)) {
    Problem(f, "a hard-disk header, but the file holds only " + Grouped(size) + " bytes of the " +
                   std::to_string(disk::kHardDiskHeaderRead) + " read to recognise it");
    return f;
  }
  const disk::UniformLayout* nearest = nullptr;
  std::uint64_t distance = 16384;
  for (const disk::UniformLayout& layout : disk::HeaderlessLayouts()) {
    for (std::uint64_t candidate :
         {std::uint64_t{layout.imageSize},
          std::uint64_t{layout.imageSize} + disk::headerless::kLeadingBlock}) {
      const std::uint64_t d = candidate > size ? candidate - size : size - candidate;
      if (d < distance) nearest = &layout, distance = d;
    }
  }
  if (nearest != nullptr)
    Problem(f, "size " + Grouped(size) + " is no headerless floppy's: " + Grouped(distance) +
                   " bytes off " + Grouped(nearest->imageSize) + " (" +
                   std::to_string(nearest->cylinders) + " cylinders x 2 sides x " +
                   std::to_string(nearest->sectorsPerTrack) + " sectors of " +
                   std::to_string(disk::SectorSize(nearest->n)) + " bytes)");
  return f;
}

Digests DataDigests(Image& image, Progress& progress) {
  Digests digests;
  if (image.IsFloppy()) {
    const Tables& t = image.Floppy();
    for (int track = 0; track < kTracks; ++track)
      for (std::uint32_t slot = 0; slot < t.SectorsOnTrack(track); ++slot)
        digests.Update(image.SectorData(t.sectors[track][slot], 0));
    return digests;
  }
  const HardDiskGeometry& g = image.Geometry();
  const std::uint64_t total = g.DataBytes();
  std::vector<std::uint8_t> chunk(1 << 20);
  progress.Begin("hashing " + image.Path());
  for (std::uint64_t done = 0; done < total;) {
    const std::size_t piece =
        static_cast<std::size_t>(std::min<std::uint64_t>(total - done, chunk.size()));
    std::span<std::uint8_t> part(chunk.data(), piece);
    if (!image.File().Read(g.dataOffset + done, part)) std::fill(part.begin(), part.end(), 0);
    digests.Update(part);
    done += piece;
    progress.Update(done, total);
  }
  progress.Done();
  return digests;
}

}  // namespace diskimg
