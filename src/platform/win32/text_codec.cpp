#include "platform/text_codec.h"

#include <windows.h>

namespace platform {

namespace {

constexpr UINT kShiftJis = 932;

std::optional<std::wstring> ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return wide;
}

std::optional<std::string> FromWide(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  // Code page 932 gets no stand-in characters: a name that has no form there is refused.
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* usedDefault = codePage == CP_UTF8 ? nullptr : &defaulted;
  const int length =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefault);
  if (length <= 0 || defaulted) return std::nullopt;
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

}  // namespace

std::optional<std::string> ShiftJisToUtf8(std::string_view shiftJis) {
  std::optional<std::wstring> wide = ToWide(kShiftJis, shiftJis);
  return wide ? FromWide(CP_UTF8, *wide) : std::nullopt;
}

std::optional<std::string> Utf8ToShiftJis(std::string_view utf8) {
  std::optional<std::wstring> wide = ToWide(CP_UTF8, utf8);
  return wide ? FromWide(kShiftJis, *wide) : std::nullopt;
}

}  // namespace platform
