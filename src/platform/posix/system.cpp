#include <pthread.h>

#include "platform/system.h"

namespace platform {

bool IsNtFamily() {
  return true;
}

namespace {
struct ThreadState {
  pthread_t thread;
  std::function<void()> body;
};

void* Run(void* arg) {
  static_cast<ThreadState*>(arg)->body();
  return nullptr;
}
}  // namespace

Thread::~Thread() {
  Join();
}

bool Thread::StartNative(std::function<void()> body) {
  Join();
  auto* state = new ThreadState{{}, std::move(body)};
  if (pthread_create(&state->thread, nullptr, Run, state) != 0) {
    delete state;
    return false;
  }
  native_ = state;
  return true;
}

void Thread::Join() {
  if (native_ == nullptr) return;
  auto* state = static_cast<ThreadState*>(native_);
  pthread_join(state->thread, nullptr);
  delete state;
  native_ = nullptr;
}

}  // namespace platform

namespace platform {
std::uintptr_t OpenVwin32Device() {
  return 0;
}
void CloseVwin32Device(std::uintptr_t) {}
void* ModuleInstance() {
  return nullptr;
}
}  // namespace platform
