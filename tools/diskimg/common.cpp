#include "common.h"

namespace diskimg {

int OpenImageArg(Context& c, const std::string& arg, std::unique_ptr<Image>* image,
                 ImageName* named) {
  const ImageName parsed = ParseImageName(arg);
  if (named) *named = parsed;
  std::string reason;
  switch (Image::Open(parsed, image, &reason)) {
    case OpenStatus::kOk:
      return kExitOk;
    case OpenStatus::kNoSuchDisk:
      return c.Fail(kExitUsage, parsed.path, reason);
    default:
      return c.Fail(kExitInput, parsed.path, reason);
  }
}

int CommitImage(Context& c, Image& image) {
  if (c.dryRun || !image.Changed()) return kExitOk;
  if (!image.Commit(c.progress))
    return c.Fail(kExitOutput, image.Path(), "cannot be written (left as it was)");
  return kExitOk;
}

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    Progress& progress) {
  PatchedFile file;
  file.OpenMemory({}, 0);
  return file.WriteTo(path, bytes, 0, 0, progress);
}

std::string Grouped(std::uint64_t value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace diskimg
