#include "progress.h"

namespace diskimg {

void Progress::Begin(std::string label) {
  Done();
  label_ = std::move(label);
  start_ = std::chrono::steady_clock::now();
}

void Progress::Update(std::uint64_t done, std::uint64_t total) {
  if (quiet_ || total == 0) return;
  if (shown_ < 0 && std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
  const int percent = static_cast<int>(done * 100 / total);
  if (percent == shown_) return;
  shown_ = percent;
  err_ << '\r' << label_ << ": " << percent << "%" << std::flush;
}

void Progress::Done() {
  if (shown_ >= 0) err_ << '\r' << std::string(label_.size() + 8, ' ') << '\r' << std::flush;
  shown_ = -1;
}

}  // namespace diskimg
