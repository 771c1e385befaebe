// INI profile strings, with the semantics of the Windows private-profile functions for what this
// module uses: section and key names match case-insensitively, values are trimmed of surrounding
// blanks and of one pair of enclosing quotes, and a write keeps every other line of the file.
#pragma once

#include <cstdint>

namespace platform {

// Copies the value (or `fallback` when the file, section or key is missing) into `buffer`,
// truncated to size - 1 characters; returns the number of characters copied.
std::uint32_t ReadProfileValue(const char* section, const char* key, const char* fallback,
                               char* buffer, std::uint32_t size, const char* file);

// Sets key = value in the section, creating the file and the section when missing.
bool WriteProfileValue(const char* section, const char* key, const char* value, const char* file);

}  // namespace platform
