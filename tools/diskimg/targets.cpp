#include "targets.h"

#include <map>
#include <memory>
#include <string>

#include "formats/d88.h"
#include "formats/floppy_geometry.h"
#include "formats/headerless.h"
#include "formats/mfd.h"

namespace diskimg {
namespace {

struct TargetInfo {
  Target target;
  const char* name;
  const char* extension;
};

constexpr TargetInfo kTargets[] = {
    {Target::kMfd, "mfd", ".mfd"}, {Target::kMfdR0, "mfd-r0", ".mfd"},
    {Target::kD88, "d88", ".d88"}, {Target::kRaw, "raw", ".img"},
    {Target::kFdi, "fdi", ".fdi"}, {Target::kMhd, "mhd", ".mhd"},
    {Target::kHdi, "hdi", ".hdi"},
};

}  // namespace

std::optional<Target> ParseTarget(const std::string& name) {
  for (const TargetInfo& info : kTargets)
    if (name == info.name) return info.target;
  return std::nullopt;
}

const char* TargetName(Target target) {
  return kTargets[static_cast<int>(target)].name;
}

const char* TargetExtension(Target target) {
  return kTargets[static_cast<int>(target)].extension;
}

const disk::UniformLayout* LayoutFor(const Tables& tables) {
  std::map<std::pair<std::uint32_t, std::uint8_t>, int> shapes;
  for (int track = 0; track < kTracks; ++track) {
    const std::uint32_t count = tables.SectorsOnTrack(track);
    if (count != 0) ++shapes[{count, tables.sectors[track][count - 1].N}];
  }
  const std::pair<std::uint32_t, std::uint8_t>* best = nullptr;
  int most = 0;
  for (const auto& [shape, tracks] : shapes) {
    if (tracks > most) best = &shape, most = tracks;
  }
  if (best == nullptr) return nullptr;
  const bool fmTrackZero = tables.SectorsOnTrack(0) != 0 && tables.sectors[0][0].mfm == 0;
  const disk::UniformLayout* found = nullptr;
  for (const disk::UniformLayout& layout : disk::HeaderlessLayouts()) {
    if (layout.sectorsPerTrack != best->first || layout.n != best->second) continue;
    if (found == nullptr || layout.fmTrackZero == fmTrackZero) found = &layout;
  }
  return found;
}

std::vector<std::uint8_t> BuildFloppy(const Tables& tables, disk::ImageReader& data, Target target,
                                      std::string* reason) {
  // A special read of more bytes than a whole track of the largest sectors is no real disk's,
  // and copying it would only fill memory with zeros.
  constexpr std::uint64_t kLargestAnswer = std::uint64_t{kSlots} * 8192;
  for (int track = 0; track < kTracks; ++track) {
    for (const SpecialReadRecord& s : tables.specials[track]) {
      if (!s.EndsList() && (s.repeatCount + 1ull) * s.dataLength > kLargestAnswer) {
        *reason = "a special read of track " + std::to_string(track) + " claims " +
                  std::to_string((s.repeatCount + 1ull) * s.dataLength) + " bytes";
        return {};
      }
    }
  }
  switch (target) {
    case Target::kMfd:
    case Target::kMfdR0: {
      auto copy = std::make_unique<Tables>(tables);
      copy->revision = target == Target::kMfd ? 1 : 0;
      return disk::BuildMfdImage(*copy, data);
    }
    case Target::kD88:
      return disk::BuildD88Image(tables, data);
    case Target::kRaw:
    case Target::kFdi:
      if (const disk::UniformLayout* layout = LayoutFor(tables))
        return disk::BuildHeaderlessImage(tables, data, *layout, target == Target::kFdi);
      *reason = "no headerless layout holds its tracks";
      return {};
    default:
      *reason = "a floppy cannot be written as a hard-disk image";
      return {};
  }
}

}  // namespace diskimg
