// platform/file.h for the module: each routine goes to the system's files or to memory files
// (file_backends.h).
#include "platform/file.h"

#include "platform/file_backends.h"
#include "platform/memory_files.h"

namespace platform {
namespace {

bool InMemory(FileHandle file) {
  return (file & memory::kHandleTag) != 0;
}

}  // namespace

#define PLATFORM_BY_PATH(routine, ...) \
  (MemoryFilesInUse() ? memory::routine(__VA_ARGS__) : native::routine(__VA_ARGS__))
#define PLATFORM_BY_HANDLE(routine, file, ...) \
  (InMemory(file) ? memory::routine(file, __VA_ARGS__) : native::routine(file, __VA_ARGS__))

FileHandle OpenFileRead(const char* path) {
  return PLATFORM_BY_PATH(OpenFileRead, path);
}
FileHandle OpenFileReadWrite(const char* path) {
  return PLATFORM_BY_PATH(OpenFileReadWrite, path);
}
FileHandle CreateFileTruncate(const char* path) {
  return PLATFORM_BY_PATH(CreateFileTruncate, path);
}
bool SeekFile(FileHandle file, std::uint64_t offset) {
  return PLATFORM_BY_HANDLE(SeekFile, file, offset);
}
std::uint64_t FileSizeOf(FileHandle file) {
  return InMemory(file) ? memory::FileSizeOf(file) : native::FileSizeOf(file);
}
std::uint32_t ReadFile(FileHandle file, void* buffer, std::uint32_t count) {
  return PLATFORM_BY_HANDLE(ReadFile, file, buffer, count);
}
std::uint32_t WriteFile(FileHandle file, const void* buffer, std::uint32_t count) {
  return PLATFORM_BY_HANDLE(WriteFile, file, buffer, count);
}
std::uint32_t ReadFileAt(FileHandle file, std::uint64_t offset, void* buffer, std::uint32_t count) {
  return PLATFORM_BY_HANDLE(ReadFileAt, file, offset, buffer, count);
}
std::uint32_t WriteFileAt(FileHandle file, std::uint64_t offset, const void* buffer,
                          std::uint32_t count) {
  return PLATFORM_BY_HANDLE(WriteFileAt, file, offset, buffer, count);
}
bool FlushFile(FileHandle file) {
  return InMemory(file) ? memory::FlushFile(file) : native::FlushFile(file);
}
void CloseFile(FileHandle file) {
  InMemory(file) ? memory::CloseFile(file) : native::CloseFile(file);
}
bool FileExists(const char* path) {
  return PLATFORM_BY_PATH(FileExists, path);
}
bool FileIsReadOnly(const char* path) {
  return PLATFORM_BY_PATH(FileIsReadOnly, path);
}
bool RemoveFile(const char* path) {
  return PLATFORM_BY_PATH(RemoveFile, path);
}
bool ReplaceFileContents(const char* path, const std::function<bool(FileHandle)>& write) {
  return PLATFORM_BY_PATH(ReplaceFileContents, path, write);
}
bool CreateUniqueFile(const char* folder, const char* prefix, char* path) {
  return PLATFORM_BY_PATH(CreateUniqueFile, folder, prefix, path);
}

#undef PLATFORM_BY_PATH
#undef PLATFORM_BY_HANDLE

}  // namespace platform
