// Progress of long work on stderr: nothing for work that ends within a second, then a percentage
// on one line that is rewritten in place and cleared at the end.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace diskimg {

class Progress {
 public:
  Progress(std::ostream& err, bool quiet) : err_(err), quiet_(quiet) {}
  ~Progress() { Done(); }
  void SetQuiet(bool quiet) { quiet_ = quiet; }

  // Starts a new piece of work under `label` ("converting", "writing").
  void Begin(std::string label);
  void Update(std::uint64_t done, std::uint64_t total);
  // Clears the line when anything was shown.
  void Done();

 private:
  std::ostream& err_;
  bool quiet_;
  std::string label_;
  std::chrono::steady_clock::time_point start_{};
  int shown_ = -1;  // percentage on the line; -1 = nothing shown
};

}  // namespace diskimg
