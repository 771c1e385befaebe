// 8.3 names as they are stored: 11 bytes, name and extension padded with spaces, in the disk's
// own character set (Shift_JIS on PC-98). Nothing here converts characters; only ASCII letters
// outside double-byte characters are folded to upper case, as DOS does.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace disk::fat {

using ShortName = std::array<std::uint8_t, 11>;

// First byte of a Shift_JIS double-byte character.
inline bool IsShiftJisLead(std::uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The stored name of `text` ("README.TXT", "a.b", Shift_JIS bytes); nothing when it does not
// fit 8.3 or holds a character DOS refuses. "." and ".." give the names of those entries.
std::optional<ShortName> MakeShortName(std::string_view text);

// "NAME.EXT" as DOS shows it (a stored 05h lead byte given back as E5h).
std::string ShortNameText(const ShortName& name);

// The same name with ASCII letters in upper case, for comparing names written by other tools.
ShortName FoldCase(const ShortName& name);

// The parts of a path split at '/' and '\' (never at a second byte of a double-byte character,
// which may be 5Ch); empty parts are dropped, so "" and "/" name the root.
std::vector<std::string> SplitPath(std::string_view path);

}  // namespace disk::fat
