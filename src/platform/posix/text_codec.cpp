#include "platform/text_codec.h"

#include <iconv.h>

#include <cerrno>

namespace platform {

namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* at = out.data();
  std::size_t outLeft = out.size();
  // Every character of either set takes at most four bytes in the other, so one call does.
  const bool ok = iconv(cd, &in, &inLeft, &at, &outLeft) != static_cast<std::size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &at, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::optional<std::string> ShiftJisToUtf8(std::string_view shiftJis) {
  return Convert("UTF-8", "CP932", shiftJis);
}

std::optional<std::string> Utf8ToShiftJis(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8);
}

}  // namespace platform
