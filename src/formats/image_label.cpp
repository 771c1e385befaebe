#include "formats/image_label.h"

#include <cstring>

#include "formats/byte_fields.h"
#include "formats/d88.h"
#include "formats/floppy_loaders.h"
#include "formats/mfd.h"
#include "formats/mhd.h"

namespace disk {
namespace {

static_assert(mfd::kCommentOffset == mhd::kCommentOffset && mfd::kCommentSize == kLabelSize &&
              mhd::kCommentSize == kLabelSize);

// A text field that ends at its NUL or at the end of the bytes read.
std::string Field(const std::uint8_t* bytes, std::uint32_t from) {
  const char* start = reinterpret_cast<const char*>(bytes + from);
  std::uint32_t length = 0;
  while (from + length < kProbeSize && start[length] != '\0') ++length;
  return std::string(start, length);
}

}  // namespace

std::string ImageLabel(ImageReader& reader) {
  std::uint8_t probe[kProbeSize] = {};
  if (!reader.ReadExact(0, probe, kProbeSize)) return {};
  std::string text;
  if (EditableHeaderOf(probe, kProbeSize) != EditableHeader::kNone)
    text = Field(probe, mfd::kCommentOffset);
  // Otherwise (an empty comment included) a D88 header, trusted only when its size is right.
  if (text.empty() && LoadU32(probe + d88::kDiskSizeOffset) == reader.Size())
    text = Field(probe, 0);
  return text;
}

EditableHeader EditableHeaderOf(const std::uint8_t* header, std::uint32_t count) {
  if (count < sizeof mfd::kR0Signature) return EditableHeader::kNone;
  if (HasSignature(header, mfd::kR0Signature) || HasSignature(header, mfd::kR1Signature))
    return EditableHeader::kMfd;
  if (HasSignature(header, mhd::kSignature)) return EditableHeader::kMhd;
  return EditableHeader::kNone;
}

void ReadHeaderLabel(const std::uint8_t* header, char (&label)[kLabelSize]) {
  // A comment without its NUL keeps 255 characters.
  std::memcpy(label, header + mfd::kCommentOffset, kLabelSize - 1);
  label[kLabelSize - 1] = '\0';
}

bool ReadHeaderWriteProtect(const std::uint8_t* header) {
  return header[mfd::kWriteProtectOffset] != 0;
}

void WriteHeaderLabel(std::uint8_t* header, const char* label) {
  const std::size_t length = strnlen(label, kLabelSize - 1);
  std::memcpy(header + mfd::kCommentOffset, label, length);
  header[mfd::kCommentOffset + length] = 0;
}

void WriteHeaderWriteProtect(std::uint8_t* header, bool protect) {
  header[mfd::kWriteProtectOffset] = protect ? 1 : 0;
}

}  // namespace disk
