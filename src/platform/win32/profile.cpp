#include <windows.h>

#include "platform/file.h"
#include "platform/profile.h"

namespace platform {

std::uint32_t ReadProfileValue(const char* section, const char* key, const char* fallback,
                               char* buffer, std::uint32_t size, const char* file) {
  return GetPrivateProfileStringA(section, key, fallback, buffer, size, file);
}

bool WriteProfileValue(const char* section, const char* key, const char* value, const char* file) {
  // A settings file marked read-only stays as it is, whoever runs the module (Wine lets its
  // superuser write such a file).
  if (FileIsReadOnly(file)) return false;
  return WritePrivateProfileStringA(section, key, value, file) != 0;
}

}  // namespace platform
