#include "fat/short_name.h"

#include <cstring>

namespace disk::fat {

namespace {

constexpr std::uint8_t kDeletedMark = 0xE5;
constexpr std::uint8_t kStoredE5 = 0x05;

bool IsForbidden(std::uint8_t c) {
  return c < 0x20 || std::strchr("\"*+,./:;<=>?[\\]|", c) != nullptr;
}

std::uint8_t Upper(std::uint8_t c) {
  return c >= 'a' && c <= 'z' ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

bool IsTrail(std::uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

}  // namespace

std::optional<ShortName> MakeShortName(std::string_view text) {
  ShortName name;
  name.fill(' ');
  if (text == "." || text == "..") {
    std::memcpy(name.data(), text.data(), text.size());
    return name;
  }
  std::size_t base = 0;
  std::size_t ext = 0;
  bool inExt = false;
  auto put = [&](std::uint8_t c) {
    if (inExt) {
      if (ext == 3) return false;
      name[8 + ext++] = c;
    } else {
      if (base == 8) return false;
      name[base++] = c;
    }
    return true;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<std::uint8_t>(text[i]);
    if (IsShiftJisLead(c)) {
      if (i + 1 >= text.size() || !IsTrail(static_cast<std::uint8_t>(text[i + 1]))) {
        return std::nullopt;
      }
      // Both bytes in the same part: a character never straddles the name and extension.
      if ((inExt ? 3 - ext : 8 - base) < 2) return std::nullopt;
      put(c);
      put(static_cast<std::uint8_t>(text[++i]));
      continue;
    }
    if (c == '.' && !inExt) {
      inExt = true;
      continue;
    }
    if (IsForbidden(c) || !put(Upper(c))) return std::nullopt;
  }
  if (base == 0 || name[0] == ' ' || (inExt && ext == 0)) return std::nullopt;
  if (name[0] == kDeletedMark) name[0] = kStoredE5;
  return name;
}

std::string ShortNameText(const ShortName& name) {
  std::string text;
  std::size_t baseEnd = 8;
  while (baseEnd > 0 && name[baseEnd - 1] == ' ') --baseEnd;
  std::size_t extEnd = 11;
  while (extEnd > 8 && name[extEnd - 1] == ' ') --extEnd;
  text.assign(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(baseEnd));
  if (!text.empty() && static_cast<std::uint8_t>(text[0]) == kStoredE5) {
    text[0] = static_cast<char>(kDeletedMark);
  }
  if (extEnd > 8) {
    text += '.';
    text.append(name.begin() + 8, name.begin() + static_cast<std::ptrdiff_t>(extEnd));
  }
  return text;
}

ShortName FoldCase(const ShortName& name) {
  ShortName folded = name;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const bool pairFits = i < 7 || (i >= 8 && i < 10);  // both bytes in the same part
    if (pairFits && IsShiftJisLead(folded[i])) {
      ++i;  // keep the second byte of a double-byte character as it is
      continue;
    }
    folded[i] = Upper(folded[i]);
  }
  return folded;
}

std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<std::uint8_t>(path[i]);
    if (c == '/' || c == '\\') {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
      continue;
    }
    part += path[i];
    if (IsShiftJisLead(c) && i + 1 < path.size()) part += path[++i];
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

}  // namespace disk::fat
