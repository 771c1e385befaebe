#include <atomic>

#include "platform/system.h"

namespace platform {
namespace {

std::atomic<bool> gInline{false};

}  // namespace

void RunThreadsInline(bool on) {
  gInline.store(on, std::memory_order_relaxed);
}

bool Thread::Start(std::function<void()> body) {
  if (!gInline.load(std::memory_order_relaxed)) return StartNative(std::move(body));
  Join();
  body();
  return true;
}

}  // namespace platform
