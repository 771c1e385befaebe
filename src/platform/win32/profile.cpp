#include <windows.h>

#include "platform/profile.h"

namespace platform {

std::uint32_t ReadProfileValue(const char* section, const char* key, const char* fallback,
                               char* buffer, std::uint32_t size, const char* file) {
  return GetPrivateProfileStringA(section, key, fallback, buffer, size, file);
}

bool WriteProfileValue(const char* section, const char* key, const char* value, const char* file) {
  return WritePrivateProfileStringA(section, key, value, file) != 0;
}

}  // namespace platform
