// The formats the tool writes, and a floppy's tables written in each of them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "image.h"

namespace disk {
struct UniformLayout;
}

namespace diskimg {

enum class Target { kMfd, kMfdR0, kD88, kRaw, kFdi, kMhd, kHdi };

std::optional<Target> ParseTarget(const std::string& name);  // "mfd", "mfd-r0", ...
const char* TargetName(Target target);
inline bool IsFloppyTarget(Target target) {
  return target < Target::kMhd;
}
const char* TargetExtension(Target target);  // ".mfd", ".d88", ...

// The headerless layout that holds the disk best: the sectors and size most of its tracks have;
// null when no headerless layout has them.
const disk::UniformLayout* LayoutFor(const Tables& tables);

// The tables written as a whole image of a floppy target, their data read from `data`. Empty
// with a reason when the target cannot take the disk at all.
std::vector<std::uint8_t> BuildFloppy(const Tables& tables, disk::ImageReader& data, Target target,
                                      std::string* reason);

}  // namespace diskimg
