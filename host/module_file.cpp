#include "module_file.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace mhwhost {

ModuleFile::ModuleFile(const std::string& path) {
#if defined(_WIN32)
  library_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (library_ == nullptr) {
    error_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return;
  }
#else
  library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    const char* why = dlerror();
    error_ = why != nullptr ? why : "cannot load " + path;
    return;
  }
#endif
  auto* setPathFn = reinterpret_cast<MhwSetPath>(Find("SetPath"));
  auto* entry = reinterpret_cast<MhwDeviceEntry>(Find("DeviceEntry"));
  auto* conect = reinterpret_cast<MhwDeviceConect>(Find("DeviceConect"));
  auto* gui = reinterpret_cast<MhwFastGUI>(Find("FastGUI"));
  auto* config = reinterpret_cast<MhwDeviceConfig>(Find("DeviceConfig"));
  auto* ver = reinterpret_cast<MhwDeviceVer>(Find("DeviceVer"));
  if (!setPathFn || !entry || !conect || !gui || !config || !ver) {
    error_ = path + " lacks one of the six exports";
    return;
  }
  setPath = setPathFn;
  deviceEntry = entry;
  deviceConect = conect;
  fastGui = gui;
  deviceConfig = config;
  deviceVer = ver;
}

ModuleFile::~ModuleFile() {
  if (library_ == nullptr) return;
#if defined(_WIN32)
  FreeLibrary(reinterpret_cast<HMODULE>(library_));
#else
  dlclose(library_);
#endif
}

void* ModuleFile::Find(const char* name) const {
  if (library_ == nullptr) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library_), name));
#else
  return dlsym(library_, name);
#endif
}

}  // namespace mhwhost
