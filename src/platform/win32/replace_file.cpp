// Replacing a file by a new one written beside it: links followed, the read-only attribute
// respected, the data flushed before the move.
#include <windows.h>

#include <string>

#include "platform/file_backends.h"

namespace platform::native {
namespace {

using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);

// The final-path lookup came with Vista; found at run time so that the module still loads on
// older systems, which have no file links to follow.
FinalPathFunction FinalPathLookup() {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return nullptr;
  // Through the generic function type, which converts to any other without a warning.
  const auto generic =
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetFinalPathNameByHandleA"));
  return reinterpret_cast<FinalPathFunction>(generic);
}

// The file `path` names: a link (a reparse point) is followed to its final path; any other path
// is taken as it stands. False for a link whose target cannot be found.
bool RealTarget(const char* path, std::string& target) {
  target = path;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    return true;
  const FinalPathFunction finalPath = FinalPathLookup();
  if (finalPath == nullptr) return true;
  const HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  char buffer[MAX_PATH + 8];
  const DWORD n = finalPath(h, buffer, sizeof buffer, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  CloseHandle(h);
  if (n == 0 || n >= sizeof buffer) return false;
  target.assign(buffer, n);
  // The lookup answers "\\?\C:\..." or "\\?\UNC\server\...": back to the plain forms.
  if (target.rfind("\\\\?\\UNC\\", 0) == 0)
    target.erase(2, 6);
  else if (target.rfind("\\\\?\\", 0) == 0)
    target.erase(0, 4);
  return true;
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::function<bool(FileHandle)>& write) {
  std::string target;
  if (path == nullptr || *path == '\0' || !RealTarget(path, target)) return false;
  const DWORD attributes = GetFileAttributesA(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
    return false;
  const std::size_t cut = target.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? "." : target.substr(0, cut + 1);
  char temp[MAX_PATH];
  if (folder.size() + 14 > MAX_PATH || GetTempFileNameA(folder.c_str(), "dsk", 0, temp) == 0)
    return false;

  const FileHandle file = OpenFileReadWrite(temp);
  bool done = file != kNoFile && write(file) && FlushFile(file);
  CloseFile(file);
  // The flags a user sets on a file (hidden, system, archive) as the old file had them.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  if (done && exists && (attributes & kKept) != 0) SetFileAttributesA(temp, attributes & kKept);
  done = done &&
         MoveFileExA(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!done) DeleteFileA(temp);
  return done;
}

}  // namespace platform::native
