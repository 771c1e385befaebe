// convert: an image written in another format, with what the target cannot hold listed and a
// conversion that loses data refused unless allowed.
#include <filesystem>

#include "common.h"
#include "formats/hard_disk_formats.h"
#include "formats/mhd.h"
#include "losses.h"
#include "targets.h"

namespace diskimg {
namespace {

// OUT-1.EXT, OUT-2.EXT, ... for the disks of a split D88 file.
std::string SplitName(const std::string& out, std::uint32_t disk) {
  const std::filesystem::path path(out);
  std::filesystem::path name = path.parent_path() / path.stem();
  return name.string() + "-" + std::to_string(disk) + path.extension().string();
}

void ListLosses(Context& c, const Losses& losses, bool refused) {
  const char* lead = refused ? "would lose " : "loses ";
  for (const std::string& line : losses.data) c.err << "diskimg: " << lead << line << '\n';
  if (!c.quiet)
    for (const std::string& line : losses.labels) c.err << "diskimg: " << lead << line << '\n';
}

int ConvertFloppy(Context& c, Image& source, const std::string& out, Target target) {
  std::string reason;
  std::vector<std::uint8_t> bytes = BuildFloppy(source.Floppy(), source.Reader(), target, &reason);
  if (bytes.empty())
    return c.Fail(kExitProblems, source.Path(),
                  "cannot be written as " + std::string(TargetName(target)) + ": " + reason);
  // The result is read back as the drive would read it, and compared with the source.
  std::unique_ptr<Image> written;
  const std::uint64_t size = bytes.size();
  if (Image::Build(bytes, size, out, &written, &reason) != OpenStatus::kOk)
    return c.Fail(kExitOutput, out, "the written image does not read back: " + reason);
  const Losses losses = CompareFloppies(source, *written);
  const bool refused = !losses.data.empty() && !c.Has("--allow-loss");
  ListLosses(c, losses, refused);
  if (refused) {
    c.err << "diskimg: " << source.Path() << ": not converted (--allow-loss writes it anyway)\n";
    return kExitProblems;
  }
  c.Say(source.Path() + " (" + KindName(source.GetKind()) + ") -> " + out + " (" +
        KindName(written->GetKind()) + ")" + (c.dryRun ? ": not written (--dry-run)" : ""));
  if (c.dryRun) return kExitOk;
  source.File().Close();  // so that OUT may be IN itself on every platform
  if (!WriteWholeFile(out, bytes, c.progress)) return c.Fail(kExitOutput, out, "cannot be written");
  return kExitOk;
}

int ConvertHardDisk(Context& c, Image& source, const std::string& out, Target target) {
  if (target != Target::kMhd && target != Target::kHdi && target != Target::kRaw)
    return c.Usage("a hard disk is written as mhd, hdi or raw (" + std::string(TargetName(target)) +
                   " is a floppy format)");
  const HardDiskGeometry& g = source.Geometry();
  const disk::HardDiskGeometry& geometry = source.HeaderGeometry();
  std::vector<std::uint8_t> header;
  if (target == Target::kMhd) {
    std::uint8_t mhd[disk::mhd::kHeaderSize];
    disk::BuildMhdHeader(geometry, source.Comment().c_str(), mhd);
    header.assign(mhd, mhd + sizeof mhd);
  } else if (target == Target::kHdi) {
    std::uint8_t hdi[disk::kHdiHeaderSize];
    disk::BuildHdiHeader(geometry, hdi);
    header.assign(hdi, hdi + sizeof hdi);
  }
  if (!c.quiet && !source.Comment().empty() && target != Target::kMhd)
    c.err << "diskimg: loses comment \"" << source.Comment() << "\" (no place for one)\n";
  if (!c.quiet && target == Target::kRaw)
    c.err << "diskimg: loses the geometry (a raw image holds the sectors alone)\n";
  c.Say(source.Path() + " (" + KindName(source.GetKind()) + ") -> " + out + " (" +
        TargetName(target) + ", " + Grouped(header.size() + g.DataBytes()) + " bytes)" +
        (c.dryRun ? ": not written (--dry-run)" : ""));
  if (c.dryRun) return kExitOk;
  if (!source.File().WriteTo(out, header, g.dataOffset, g.DataBytes(), c.progress))
    return c.Fail(kExitOutput, out, "cannot be written");
  return kExitOk;
}

int ConvertOne(Context& c, const std::string& in, const std::string& out, Target target) {
  std::unique_ptr<Image> source;
  if (int code = OpenImageArg(c, in, &source)) return code;
  if (source->IsFloppy()) {
    if (!IsFloppyTarget(target))
      return c.Usage("a floppy is written as mfd, mfd-r0, d88, raw or fdi (" +
                     std::string(TargetName(target)) + " is a hard-disk format)");
    return ConvertFloppy(c, *source, out, target);
  }
  return ConvertHardDisk(c, *source, out, target);
}

}  // namespace

int RunConvert(Context& c) {
  if (!c.Has("--to")) return c.Usage("say which format with --to");
  const auto target = ParseTarget(c.Value("--to"));
  if (!target) return c.Usage("no format '" + c.Value("--to") + "'");
  const std::string& in = c.args[0];
  const std::string& out = c.args[1];
  std::unique_ptr<Image> probe;
  ImageName named;
  if (int code = OpenImageArg(c, in, &probe, &named)) return code;
  const std::uint32_t disks = probe->DiskCount();
  probe.reset();
  if (c.Has("--split")) {
    if (named.disk != 0)
      return c.Usage("--split takes every disk; leave out ::" + std::to_string(named.disk));
    int worst = kExitOk;
    for (std::uint32_t disk = 1; disk <= disks; ++disk) {
      const int code =
          ConvertOne(c, named.path + "::" + std::to_string(disk), SplitName(out, disk), *target);
      worst = std::max(worst, code);
    }
    return worst;
  }
  if (disks > 1 && named.disk == 0)
    return c.Usage(named.path + " holds " + std::to_string(disks) +
                   " disks: pick one with IN::N or write each with --split");
  return ConvertOne(c, in, out, *target);
}

}  // namespace diskimg
