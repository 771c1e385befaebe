#include "platform/profile.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/file.h"
#include "platform/ini_text.h"

namespace platform {
namespace {

// Through the file routines, so that memory files serve as INI files too.
bool ReadWhole(const char* path, std::string& text) {
  const FileHandle file = OpenFileRead(path);
  if (file == kNoFile) return false;
  text.resize(static_cast<std::size_t>(std::min<std::uint64_t>(FileSizeOf(file), 1u << 24)));
  text.resize(ReadFile(file, text.data(), static_cast<std::uint32_t>(text.size())));
  CloseFile(file);
  return true;
}

// Trailing blanks of a default are dropped, as the Windows function drops them.
std::string TrimmedFallback(const char* fallback) {
  std::string s = fallback != nullptr ? fallback : "";
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

}  // namespace

std::uint32_t ReadProfileValue(const char* section, const char* key, const char* fallback,
                               char* buffer, std::uint32_t size, const char* file) {
  if (buffer == nullptr || size == 0) return 0;
  std::string text;
  std::optional<std::string> value;
  if (file != nullptr && ReadWhole(file, text)) value = FindIniValue(text, section, key);
  std::string result = value ? *value : TrimmedFallback(fallback);
  std::uint32_t n = static_cast<std::uint32_t>(std::min<size_t>(result.size(), size - 1));
  std::memcpy(buffer, result.data(), n);
  buffer[n] = '\0';
  return n;
}

bool WriteProfileValue(const char* section, const char* key, const char* value, const char* file) {
  if (file == nullptr || section == nullptr || key == nullptr) return false;
  std::string text;
  ReadWhole(file, text);  // a missing file is created
  std::string updated = SetIniValue(text, section, key, value != nullptr ? value : "");
  // The whole file is written anew and put in place of the old one, so a failed write never
  // leaves half an INI file.
  const auto size = static_cast<std::uint32_t>(updated.size());
  return ReplaceFileContents(file, [&updated, size](FileHandle out) {
    return WriteFile(out, updated.data(), size) == size;
  });
}

}  // namespace platform
