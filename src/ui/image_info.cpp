#include "ui/image_info.h"

#include <cstdint>
#include <cstring>

#include "fdd/image_loaders.h"
#include "fdd/mfd_header.h"
#include "hdd/hard_disk_image.h"
#include "plugin/file_routines.h"

namespace disk {
namespace {

constexpr std::uint32_t kInfoBytes = 288;
constexpr std::uint32_t kD88SizeOffset = 28;
constexpr const char* kNoInformation = "No Information";

// A text field that ends at its NUL or at the end of what was read.
std::string Field(const unsigned char* bytes, std::uint32_t from) {
  const char* start = reinterpret_cast<const char*>(bytes + from);
  std::uint32_t length = 0;
  while (from + length < kInfoBytes && start[length] != '\0') ++length;
  return std::string(start, length);
}

std::string DoubleAmpersands(const std::string& text) {
  std::string shown;
  for (char c : text) {
    shown += c;
    if (c == '&') shown += '&';
  }
  return shown;
}

}  // namespace

bool HasSignature(const unsigned char* header, const char* signature) {
  return std::memcmp(header, signature, std::strlen(signature) + 1) == 0;
}

std::string ImageInfoText(const char* path, bool* opened) {
  FileHandle file = OpenImageRead(path);
  if (opened != nullptr) *opened = file != platform::kNoFile;
  if (file == platform::kNoFile) return {};
  unsigned char header[kInfoBytes] = {};
  std::uint32_t got = ReadFileBytes(file, header, kInfoBytes);
  const std::uint64_t size = FileSize(file);
  CloseFile(file);
  if (got < kInfoBytes) return kNoInformation;

  std::string text;
  if (HasSignature(header, kR0Signature) || HasSignature(header, kR1Signature) ||
      HasSignature(header, kMhdSignature))
    text = Field(header, mfd::kCommentOffset);
  // Otherwise (an empty comment included) a D88 header, trusted only when its size is right.
  if (text.empty()) {
    std::uint32_t stated = static_cast<std::uint32_t>(header[kD88SizeOffset]) |
                           header[kD88SizeOffset + 1] << 8 | header[kD88SizeOffset + 2] << 16 |
                           static_cast<std::uint32_t>(header[kD88SizeOffset + 3]) << 24;
    if (stated == size) text = Field(header, 0);
  }
  return text.empty() ? kNoInformation : DoubleAmpersands(text);
}

}  // namespace disk
