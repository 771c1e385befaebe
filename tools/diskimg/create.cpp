// create: new floppy and hard-disk images, blank or holding an empty FAT file system laid out as
// PC-98 MS-DOS does.
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "common.h"
#include "fat/format.h"
#include "formats/hard_disk_formats.h"
#include "formats/headerless.h"
#include "formats/mfd.h"
#include "formats/mhd.h"
#include "media.h"
#include "targets.h"

namespace diskimg {
namespace {

constexpr std::uint8_t kFormatFill = 0xE5;  // what a track format leaves in new sectors
constexpr std::uint32_t kLargestHardDiskMB = 4095;

std::uint32_t Serial() {
  return static_cast<std::uint32_t>(std::time(nullptr));
}

int Created(Context& c, const std::string& out, const std::string& what) {
  c.Say(out + ": " + what + (c.dryRun ? " (not written: --dry-run)" : ""));
  return kExitOk;
}

int CreateFloppy(Context& c, const std::string& out) {
  const Medium* medium = FindMedium(c.Value("--media", "1.23M"));
  if (medium == nullptr) return c.Usage("no medium '" + c.Value("--media") + "'");
  const auto target = ParseTarget(c.Value("--to", "mfd-r0"));
  if (!target || !IsFloppyTarget(*target))
    return c.Usage("no floppy format '" + c.Value("--to") + "'");
  const bool fat = c.Has("--format");
  if (c.Has("--unformatted")) {
    if (fat) return c.Usage("an unformatted disk holds no file system");
    if (*target == Target::kRaw || *target == Target::kFdi)
      return c.Usage("a headerless image cannot be unformatted");
    auto tables = std::make_unique<Tables>();
    tables->ClearTables();
    std::vector<std::uint8_t> bytes(disk::mfd::kR0HeaderSize);
    if (*target == Target::kMfdR0) {
      disk::BuildNewMfdHeader(nullptr, bytes.data());  // as the NEW FD IMAGE dialog makes it
    } else {
      std::strncpy(tables->comment, disk::mfd::kNewImageComment, sizeof tables->comment - 1);
      disk::MemoryImageReader nothing(nullptr, 0);
      std::string reason;
      bytes = BuildFloppy(*tables, nothing, *target, &reason);
    }
    if (!c.dryRun && !WriteWholeFile(out, bytes, c.progress))
      return c.Fail(kExitOutput, out, "cannot be written");
    return Created(c, out, std::string("unformatted ") + TargetName(*target) + " image");
  }
  std::unique_ptr<Image> image;
  if (int code = BuildMediumImage(c, *medium,
                                  std::vector<std::uint8_t>(medium->layout->imageSize, kFormatFill),
                                  out, &image))
    return code;
  if (fat) {
    const disk::fat::FatStatus status =
        disk::fat::FormatFloppy(*image->Device(), medium->fat, Serial());
    if (status != disk::fat::FatStatus::kOk)
      return c.Fail(kExitProblems, out, disk::fat::FatStatusText(status));
  }
  if (int code = WriteMedium(c, *image, *target)) return code;
  return Created(c, out,
                 std::string(medium->name) + " floppy, " + TargetName(*target) +
                     (fat ? ", FAT file system" : ", formatted"));
}

int CreateHardDisk(Context& c, const std::string& out) {
  const std::string size = c.Value("--size");
  char* end = nullptr;
  const unsigned long megabytes = std::strtoul(size.c_str(), &end, 10);
  if (size.empty() || *end != '\0' || megabytes == 0 || megabytes > kLargestHardDiskMB)
    return c.Usage("--size takes megabytes from 1 to " + std::to_string(kLargestHardDiskMB));
  const auto target = ParseTarget(c.Value("--to", "mhd"));
  if (!target || (*target != Target::kMhd && *target != Target::kHdi))
    return c.Usage("a new hard disk is written as mhd or hdi");
  if (c.Has("--media") || c.Has("--unformatted"))
    return c.Usage("--media and --unformatted are for floppies");
  const auto cylinders = static_cast<std::uint32_t>(megabytes * 8);
  std::vector<std::uint8_t> header;
  if (*target == Target::kMhd) {
    std::uint8_t mhd[disk::mhd::kHeaderSize];
    disk::BuildNewMhdHeader(cylinders, mhd);
    header.assign(mhd, mhd + sizeof mhd);
  } else {
    disk::HardDiskGeometry g;
    g.cylinders = static_cast<std::uint16_t>(cylinders);
    g.heads = disk::mhd::kNewHeads;
    g.sectors = disk::mhd::kNewSectors;
    g.sectorSize = disk::mhd::kNewSectorSize;
    std::uint8_t hdi[disk::kHdiHeaderSize];
    disk::BuildHdiHeader(g, hdi);
    header.assign(hdi, hdi + sizeof hdi);
  }
  const std::uint64_t total =
      header.size() + std::uint64_t{cylinders} * disk::mhd::kNewCylinderBytes;
  std::unique_ptr<Image> image;
  std::string reason;
  if (Image::Build(header, total, out, &image, &reason) != OpenStatus::kOk)
    return c.Fail(kExitOutput, out, reason);
  const bool fat = c.Has("--format");
  if (fat) {
    const disk::fat::FatStatus status = disk::fat::FormatHardDisk(
        *image->Device(), {disk::mhd::kNewHeads, disk::mhd::kNewSectors}, Serial());
    if (status != disk::fat::FatStatus::kOk)
      return c.Fail(kExitProblems, out, disk::fat::FatStatusText(status));
  }
  if (!c.dryRun && !image->Commit(c.progress)) return c.Fail(kExitOutput, out, "cannot be written");
  return Created(c, out,
                 std::to_string(megabytes) + " MB hard disk, " + TargetName(*target) + ", " +
                     std::to_string(cylinders) + " cylinders of 8 heads x 32 sectors" +
                     (fat ? ", FAT file system" : ""));
}

}  // namespace

int RunCreate(Context& c) {
  if (c.Has("--format") && c.Value("--format") != "FAT" && c.Value("--format") != "fat")
    return c.Usage("--format takes FAT");
  if (c.args[0] == "floppy") {
    if (c.Has("--size")) return c.Usage("--size is for hard disks");
    return CreateFloppy(c, c.args[1]);
  }
  if (c.args[0] == "hd") return CreateHardDisk(c, c.args[1]);
  return c.Usage("create floppy or hd, not '" + c.args[0] + "'");
}

}  // namespace diskimg
