#include <windows.h>

#include "platform/system.h"

namespace platform {

bool IsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return true;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

namespace {
struct ThreadState {
  HANDLE thread;
  std::function<void()> body;
};

DWORD WINAPI Run(LPVOID arg) {
  static_cast<ThreadState*>(arg)->body();
  return 0;
}
}  // namespace

Thread::~Thread() {
  Join();
}

bool Thread::StartNative(std::function<void()> body) {
  Join();
  auto* state = new ThreadState{nullptr, std::move(body)};
  state->thread = CreateThread(nullptr, 0, Run, state, 0, nullptr);
  if (state->thread == nullptr) {
    delete state;
    return false;
  }
  native_ = state;
  return true;
}

void Thread::Join() {
  if (native_ == nullptr) return;
  auto* state = static_cast<ThreadState*>(native_);
  WaitForSingleObject(state->thread, INFINITE);
  CloseHandle(state->thread);
  delete state;
  native_ = nullptr;
}

}  // namespace platform

namespace platform {

std::uintptr_t OpenVwin32Device() {
  HANDLE device =
      CreateFileA("\\\\.\\VWIN32", 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  return device == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<std::uintptr_t>(device);
}

void CloseVwin32Device(std::uintptr_t device) {
  if (device != 0) CloseHandle(reinterpret_cast<HANDLE>(device));
}

}  // namespace platform
