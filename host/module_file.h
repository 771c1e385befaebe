// A module file loaded the way an emulator loads it: by path, through its six exports.
#pragma once

#include <string>

#include "platform/host_abi.h"

namespace mhwhost {

class ModuleFile {
 public:
  // The six exports of a module linked into the program itself (fuzzers, unit tests).
  struct Exports {
    MhwSetPath setPath;
    MhwDeviceEntry deviceEntry;
    MhwDeviceConect deviceConect;
    MhwFastGUI fastGui;
    MhwDeviceConfig deviceConfig;
    MhwDeviceVer deviceVer;
  };

  explicit ModuleFile(const std::string& path);
  explicit ModuleFile(const Exports& exports)
      : setPath(exports.setPath),
        deviceEntry(exports.deviceEntry),
        deviceConect(exports.deviceConect),
        fastGui(exports.fastGui),
        deviceConfig(exports.deviceConfig),
        deviceVer(exports.deviceVer) {}
  ~ModuleFile();
  ModuleFile(const ModuleFile&) = delete;
  ModuleFile& operator=(const ModuleFile&) = delete;

  bool loaded() const { return deviceVer != nullptr; }
  const std::string& error() const { return error_; }
  // The address of an exported name, or null.
  void* Find(const char* name) const;

  MhwSetPath setPath = nullptr;
  MhwDeviceEntry deviceEntry = nullptr;
  MhwDeviceConect deviceConect = nullptr;
  MhwFastGUI fastGui = nullptr;
  MhwDeviceConfig deviceConfig = nullptr;
  MhwDeviceVer deviceVer = nullptr;

 private:
  void* library_ = nullptr;
  std::string error_;
};

}  // namespace mhwhost
