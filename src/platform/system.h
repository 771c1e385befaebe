// Facts about the platform and small services that have no better home.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// True on Windows NT and every later Windows, and everywhere that is not Windows.
bool IsNtFamily();

// A thread that runs `body` once. Join waits for it; a Thread that is destroyed joins first.
// Under RunThreadsInline, Start runs the body to its end before it returns.
class Thread {
 public:
  Thread() = default;
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  bool Start(std::function<void()> body);
  void Join();
  bool Started() const { return native_ != nullptr; }

 private:
  bool StartNative(std::function<void()> body);  // the system's own thread

  void* native_ = nullptr;
};

// For runs that want every step in one thread (the fuzzers): from now on (on) or no longer (off),
// each Thread runs its body inside Start.
void RunThreadsInline(bool on);

}  // namespace platform

namespace platform {

// The VWIN32 device of the Windows 9x family, through which real floppy drives are reached
// there; 0 where it cannot be opened (and on every other platform).
std::uintptr_t OpenVwin32Device();
void CloseVwin32Device(std::uintptr_t device);

// The module's own instance handle (Windows), kept from the library entry; null elsewhere.
void* ModuleInstance();

}  // namespace platform
