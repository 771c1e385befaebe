#include "ui/file_names.h"

#include <cstring>

#include "machine/disk_settings.h"

namespace disk {
namespace {

const char* LastSeparator(const char* path) {
  const char* last = nullptr;
  for (const char* p = path; *p != '\0'; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') last = p;
  return last;
}

}  // namespace

void AddDefaultExtension(char* path, int size, const char* extension) {
  const char* separator = LastSeparator(path);
  const char* name = separator != nullptr ? separator + 1 : path;
  if (std::strchr(name, '.') != nullptr) return;
  int used = static_cast<int>(std::strlen(path));
  platform::CopyString(path + used, extension, size - used);
}

void FolderOf(const char* path, char* folder, int size) {
  const char* separator = LastSeparator(path);
  int length = separator != nullptr ? static_cast<int>(separator - path) + 1 : 0;
  if (length > size - 1) length = size - 1;
  std::memcpy(folder, path, static_cast<size_t>(length));
  folder[length] = '\0';
}

int ProgressPercent(int done, int total) {
  if (total <= 0) return 100;
  long long percent = static_cast<long long>(done) * 100 / total;
  return percent < 0 ? 0 : percent > 100 ? 100 : static_cast<int>(percent);
}

}  // namespace disk
