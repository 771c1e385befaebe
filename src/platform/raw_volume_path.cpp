#include <cctype>
#include <cstdlib>
#include <cstring>

#include "platform/raw_volume.h"

namespace platform {

bool RawVolumePath(char letter, char* path, std::uint32_t size) {
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (upper < 'A' || upper > 'Z' || size == 0) return false;
  char variable[] = "DISK_RAW_DRIVE_?";
  variable[sizeof variable - 2] = upper;
  const char* chosen = std::getenv(variable);
  if (chosen == nullptr || *chosen == '\0') return DefaultRawVolumePath(upper, path, size);
  std::size_t length = std::strlen(chosen);
  if (length >= size) return false;
  std::memcpy(path, chosen, length + 1);
  return true;
}

}  // namespace platform
