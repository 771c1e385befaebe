#include "media.h"

#include <algorithm>
#include <cstring>

#include "common.h"
#include "formats/headerless.h"
#include "formats/mfd.h"

namespace diskimg {

const Medium* FindMedium(const std::string& name) {
  static const Medium kMedia[] = {
      {"1.23M", 1261568, disk::fat::FloppyFormat::k1232K, disk::FindHeaderlessLayout(1261568)},
      {"1.44M", 1474560, disk::fat::FloppyFormat::k1440K, disk::FindHeaderlessLayout(1474560)},
      {"640K", 655360, disk::fat::FloppyFormat::k640K, disk::FindHeaderlessLayout(655360)},
      {"720K", 737280, disk::fat::FloppyFormat::k720K, disk::FindHeaderlessLayout(737280)},
  };
  std::string upper = name;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
  for (const Medium& medium : kMedia)
    if (upper == medium.name) return &medium;
  return nullptr;
}

int BuildMediumImage(Context& c, const Medium& medium, std::vector<std::uint8_t> data,
                     const std::string& out, std::unique_ptr<Image>* image) {
  std::string reason;
  if (Image::Build(std::move(data), medium.imageSize, out, image, &reason) != OpenStatus::kOk)
    return c.Fail(kExitOutput, out, reason);
  return kExitOk;
}

int WriteMedium(Context& c, Image& image, Target target) {
  auto tables = std::make_unique<Tables>(image.Floppy());
  std::memset(tables->comment, 0, sizeof tables->comment);
  std::memcpy(tables->comment, disk::mfd::kNewImageComment, sizeof disk::mfd::kNewImageComment);
  std::string reason;
  const std::vector<std::uint8_t> bytes = BuildFloppy(*tables, image.Reader(), target, &reason);
  if (bytes.empty()) return c.Fail(kExitUsage, image.Path(), reason);
  if (!c.dryRun && !WriteWholeFile(image.Path(), bytes, c.progress))
    return c.Fail(kExitOutput, image.Path(), "cannot be written");
  return kExitOk;
}

}  // namespace diskimg
