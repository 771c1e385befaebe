// The FAT tests' view of the independent tools (mtools, dosfstools, parted): run through the
// shell, skipped where they are not installed (as on Windows).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/scratch.h"

namespace fat_test {

inline bool HaveTool(const std::string& name) {
#ifdef _WIN32
  (void)name;
  return false;
#else
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
#endif
}

#define SKIP_WITHOUT(tool) \
  if (!fat_test::HaveTool(tool)) GTEST_SKIP() << tool " is not installed"

// Exit code 0 and the output (stdout and stderr) of a shell command; mtools skip their
// geometry check so that PC-98 layouts are accepted.
inline bool Shell(const std::string& command, std::string* output = nullptr) {
  std::string text;
  const bool ok = testing_support::RunCommand("MTOOLS_SKIP_CHECK=1 " + command, &text) == 0;
  if (output) *output = text;
  if (!ok) ADD_FAILURE() << command << "\n" << text;
  return ok;
}

}  // namespace fat_test
