// Scratch folders and files for tests: made fresh, removed with everything in them afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The platform's own spelling of the folder and of a file in it.
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

std::vector<std::uint8_t> ReadAll(const std::string& path);
// `size` bytes from `offset` (fewer at the end of the file), for files too large to read whole.
std::vector<std::uint8_t> ReadAt(const std::string& path, std::uint64_t offset, std::size_t size);
void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
bool Exists(const std::string& path);
// Runs a command through the shell: its exit status (-1 when it did not exit) and, in `output`,
// what it wrote to stdout and stderr.
int RunCommand(const std::string& command, std::string* output);
// Sets an environment variable of the test process; an empty value removes it.
void SetVariable(const char* name, const std::string& value);

}  // namespace testing_support
