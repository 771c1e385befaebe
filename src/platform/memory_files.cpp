#include "platform/memory_files.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/file_backends.h"

namespace platform {
namespace {

// Larger files are refused, as a full disk would refuse them.
constexpr std::uint64_t kLargestFile = 1ull << 40;
constexpr std::uint64_t kPageSize = 1u << 16;

// A file's bytes by pages of kPageSize; a page never written reads as zeros, so that a write far
// past the end costs what it writes, as on a disk with sparse files. Bytes past the end are zero.
// Pages are shared between copies (a file and the state it is restored to) until one is written.
using Page = std::shared_ptr<std::vector<std::uint8_t>>;
struct Contents {
  std::uint64_t size = 0;
  std::map<std::uint64_t, Page> pages;
};

struct Node {
  Contents contents;
  std::set<std::uint64_t> written;  // pages written since the last restore
  bool whole = false;               // emptied or new since the last restore: restore it all
};

struct OpenFile {
  std::shared_ptr<Node> node;
  std::uint64_t position = 0;
  bool writable = false;
};

struct Files {
  std::mutex lock;  // a worker thread may read and write while the emulation thread does
  std::map<std::string, std::shared_ptr<Node>> byPath;
  std::map<std::string, Contents> originals;
  std::vector<OpenFile> handles;  // index + 1 | kHandleTag; a closed one has no node
  std::uint32_t replacements = 0;
  std::uint32_t uniqueSerial = 0;
};

// Made on first use and never destroyed (handles may be closed at exit); a run that never
// switches memory files on never makes it.
Files& TheFiles() {
  static Files* files = new Files();
  return *files;
}
std::atomic<bool> gInUse{false};

// A handle on `node`, to be made under the lock.
FileHandle NewHandle(Files& files, std::shared_ptr<Node> node, bool writable) {
  std::size_t slot = 0;
  while (slot < files.handles.size() && files.handles[slot].node != nullptr) ++slot;
  if (slot == files.handles.size()) files.handles.emplace_back();
  files.handles[slot] = {std::move(node), 0, writable};
  return static_cast<FileHandle>(slot + 1) | memory::kHandleTag;
}

FileHandle Open(const char* path, bool writable, bool create) {
  if (path == nullptr || *path == '\0') return kNoFile;
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  auto found = files.byPath.find(path);
  if (found == files.byPath.end()) {
    if (!create) return kNoFile;
    found = files.byPath.emplace(path, std::make_shared<Node>()).first;
  }
  if (create) {
    found->second->contents = {};
    found->second->whole = true;
  }
  return NewHandle(files, found->second, writable);
}

// The open file behind a handle (null for none), to be used under the lock.
OpenFile* Find(Files& files, FileHandle file) {
  const std::size_t slot = (file & ~memory::kHandleTag) - 1;
  if (slot >= files.handles.size() || files.handles[slot].node == nullptr) return nullptr;
  return &files.handles[slot];
}

std::uint32_t Transfer(FileHandle file, std::uint64_t* at, void* buffer, const void* source,
                       std::uint32_t count) {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  OpenFile* open = Find(files, file);
  if (open == nullptr) return 0;
  std::uint64_t& offset = at != nullptr ? *at : open->position;
  Node& node = *open->node;
  if (source == nullptr) {
    if (offset >= node.contents.size) return 0;
    count = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, node.contents.size - offset));
  } else if (!open->writable || offset > kLargestFile - count) {
    return 0;
  } else {
    node.contents.size = std::max(node.contents.size, offset + count);
  }
  for (std::uint32_t done = 0; done < count;) {
    const std::uint64_t page = (offset + done) / kPageSize, within = (offset + done) % kPageSize;
    const auto n =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(count - done, kPageSize - within));
    auto found = node.contents.pages.find(page);
    if (source != nullptr) {
      if (found == node.contents.pages.end())
        found = node.contents.pages.emplace(page, nullptr).first;
      Page& bytes = found->second;
      if (bytes == nullptr)
        bytes = std::make_shared<std::vector<std::uint8_t>>(kPageSize);
      else if (bytes.use_count() > 1)
        bytes = std::make_shared<std::vector<std::uint8_t>>(*bytes);
      std::memcpy(bytes->data() + within, static_cast<const std::uint8_t*>(source) + done, n);
      node.written.insert(page);
    } else if (found != node.contents.pages.end()) {
      std::memcpy(static_cast<std::uint8_t*>(buffer) + done, found->second->data() + within, n);
    } else {
      std::memset(static_cast<std::uint8_t*>(buffer) + done, 0, n);
    }
    done += n;
  }
  offset += count;
  return count;
}

}  // namespace

void UseMemoryFiles(bool on) {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  if (on && !gInUse.load()) {
    files.byPath.clear();
    files.originals.clear();
    files.replacements = 0;
  }
  gInUse.store(on);
}

bool MemoryFilesInUse() {
  return gInUse.load(std::memory_order_relaxed);
}

void PutMemoryFile(const char* path, std::vector<std::uint8_t> bytes) {
  Contents original;
  original.size = bytes.size();
  for (std::uint64_t at = 0; at < bytes.size(); at += kPageSize) {
    auto page = std::make_shared<std::vector<std::uint8_t>>(kPageSize);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                std::min<std::uint64_t>(kPageSize, bytes.size() - at), page->begin());
    original.pages[at / kPageSize] = std::move(page);
  }
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  auto node = std::make_shared<Node>();
  node->contents = original;
  files.byPath[path] = std::move(node);
  files.originals[path] = std::move(original);
}

void RestoreMemoryFiles() {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  std::erase_if(files.byPath,
                [&files](const auto& entry) { return files.originals.count(entry.first) == 0; });
  for (const auto& [path, original] : files.originals) {
    std::shared_ptr<Node>& node = files.byPath[path];
    if (node == nullptr) node = std::make_shared<Node>();
    if (node->whole) {
      node->contents = original;
    } else {
      for (const std::uint64_t page : node->written) {
        const auto kept = original.pages.find(page);
        if (kept != original.pages.end())
          node->contents.pages[page] = kept->second;
        else
          node->contents.pages.erase(page);
      }
      node->contents.size = original.size;
    }
    node->written.clear();
    node->whole = false;
  }
  files.replacements = 0;
}

std::uint32_t MemoryFileReplacements() {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  return files.replacements;
}

bool MemoryFileReplaced(const char* path) {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  const auto found = files.byPath.find(path);
  return found == files.byPath.end() || found->second->whole;
}

namespace memory {

FileHandle OpenFileRead(const char* path) {
  return Open(path, false, false);
}
FileHandle OpenFileReadWrite(const char* path) {
  return Open(path, true, false);
}
FileHandle CreateFileTruncate(const char* path) {
  return Open(path, true, true);
}

bool SeekFile(FileHandle file, std::uint64_t offset) {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  OpenFile* open = Find(files, file);
  if (open == nullptr || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  open->position = offset;
  return true;
}

std::uint64_t FileSizeOf(FileHandle file) {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  OpenFile* open = Find(files, file);
  return open != nullptr ? open->node->contents.size : 0;
}

std::uint32_t ReadFile(FileHandle file, void* buffer, std::uint32_t count) {
  return Transfer(file, nullptr, buffer, nullptr, count);
}
std::uint32_t WriteFile(FileHandle file, const void* buffer, std::uint32_t count) {
  return Transfer(file, nullptr, nullptr, buffer, count);
}
std::uint32_t ReadFileAt(FileHandle file, std::uint64_t offset, void* buffer, std::uint32_t count) {
  return Transfer(file, &offset, buffer, nullptr, count);
}
std::uint32_t WriteFileAt(FileHandle file, std::uint64_t offset, const void* buffer,
                          std::uint32_t count) {
  return Transfer(file, &offset, nullptr, buffer, count);
}

bool FlushFile(FileHandle file) {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  return Find(files, file) != nullptr;
}

void CloseFile(FileHandle file) {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  if (OpenFile* open = Find(files, file)) open->node = nullptr;
}

bool FileExists(const char* path) {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  return path != nullptr && files.byPath.count(path) != 0;
}

bool FileIsReadOnly(const char*) {
  return false;  // memory files carry no marks
}

bool RemoveFile(const char* path) {
  Files& files = TheFiles();
  std::lock_guard<std::mutex> hold(files.lock);
  return path != nullptr && files.byPath.erase(path) != 0;
}

bool ReplaceFileContents(const char* path, const std::function<bool(FileHandle)>& write) {
  if (path == nullptr || *path == '\0') return false;
  Files& files = TheFiles();
  // The new contents go into a file of no name, which takes the name once they are all there.
  auto node = std::make_shared<Node>();
  FileHandle file;
  {
    std::lock_guard<std::mutex> hold(files.lock);
    file = NewHandle(files, node, true);
  }
  const bool done = write(file);
  CloseFile(file);
  if (!done) return false;
  std::lock_guard<std::mutex> hold(files.lock);
  node->whole = true;
  files.byPath[path] = std::move(node);
  ++files.replacements;
  return true;
}

bool CreateUniqueFile(const char* folder, const char* prefix, char* path) {
  std::string name = folder != nullptr && *folder != '\0' ? folder : "/tmp";
  if (name.back() != '/') name += '/';
  name += prefix;
  {
    Files& files = TheFiles();
    std::lock_guard<std::mutex> hold(files.lock);
    name += std::to_string(++files.uniqueSerial);
  }
  if (name.size() >= static_cast<std::size_t>(kPathSize)) return false;
  const FileHandle file = CreateFileTruncate(name.c_str());
  CloseFile(file);
  std::memcpy(path, name.c_str(), name.size() + 1);
  return file != kNoFile;
}

}  // namespace memory
}  // namespace platform
