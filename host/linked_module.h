// The module's six exports when the module is linked into the program itself (fuzzers,
// benchmarks) rather than loaded from its file; such a program links the library disk_exports.
#pragma once

#include <memory>

#include "module_file.h"

extern "C" {
void MHW_CALL SetPath(const char* iniPath);
uint32_t MHW_CALL DeviceEntry(MhwWord* host);
uint32_t MHW_CALL DeviceConect(MhwWord* modules);
void* MHW_CALL FastGUI(void* hostWindow, MhwWord value);
void MHW_CALL DeviceConfig(void* parentWindow);
uint32_t MHW_CALL DeviceVer(char* buffer);
}

namespace mhwhost {

inline std::unique_ptr<ModuleFile> LinkedModule() {
  const ModuleFile::Exports exports = {&SetPath, &DeviceEntry,  &DeviceConect,
                                       &FastGUI, &DeviceConfig, &DeviceVer};
  return std::make_unique<ModuleFile>(exports);
}

}  // namespace mhwhost
