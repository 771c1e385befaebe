// The text of an INI file, read and edited the way the Windows private-profile functions do it.
// Pure: no I/O, so the POSIX profile layer and its tests share it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of `key` in `section`, trimmed of blanks and of one pair of enclosing quotes; no value
// when the section or the key is missing. Names match case-insensitively; the first match counts.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text with `key` in `section` set to `value`. Every other line stays as it was; a missing
// key is added at the end of its section, a missing section at the end of the text.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace platform
