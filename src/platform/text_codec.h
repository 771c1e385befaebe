// Shift_JIS as PC-98 DOS wrote it (code page 932) to and from UTF-8: names on disks shown and
// typed on a host whose text is UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Nothing when the bytes are not code page 932 text, or the text has no code page 932 form.
std::optional<std::string> ShiftJisToUtf8(std::string_view shiftJis);
std::optional<std::string> Utf8ToShiftJis(std::string_view utf8);

}  // namespace platform
