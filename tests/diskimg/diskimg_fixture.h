// The diskimg tests run the tool's commands in-process, as the program would, on image files in
// a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "support/scratch.h"

namespace diskimg_test {

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

// Runs the command in-process and expects `code`; the outcome for further checks.
inline Outcome Expect(int code, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const Outcome outcome{diskimg::Run(args, out, err), out.str(), err.str()};
  std::string line;
  for (const auto& arg : args) line += arg + " ";
  EXPECT_EQ(outcome.code, code) << line << "\n" << outcome.out << outcome.err;
  return outcome;
}

class DiskimgTest : public ::testing::Test {
 protected:
  std::string Save(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir.File(name);
    testing_support::WriteAll(path, bytes);
    return path;
  }

  testing_support::ScratchDir dir;
};

}  // namespace diskimg_test
