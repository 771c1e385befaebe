// The six functions the host finds in the module file, and the one module instance behind them.
#include <cstring>

#include "module/disk_module.h"
#include "ui/user_interface.h"

// On Windows the .def file names the exports; elsewhere they are the only visible symbols.
#if defined(_WIN32)
#define MHW_EXPORT
#else
#define MHW_EXPORT __attribute__((visibility("default")))
#endif

namespace disk {
namespace {

void LightLamp(void* panel, int index) {
  SetAccessLamp(*static_cast<StatusPanel*>(panel), index, true);
}
void Refresh(void* panel) {
  RefreshPanel(*static_cast<StatusPanel*>(panel));
}

}  // namespace

DiskModule gModule;

DiskModule::DiskModule() {
  system.ConnectPanel({&panel, &LightLamp}, {&panel, &Refresh});
}

}  // namespace disk

namespace {

constexpr char kBanner[] =
    "DISK 10/05/25 : uPD765A/uPD8237 floppy controller, disk BIOS and image files. "
    "Free software, provided as is, without warranty.";
static_assert(sizeof kBanner <= 256, "the host's buffer holds 256 bytes");

}  // namespace

extern "C" {

MHW_EXPORT void MHW_CALL SetPath(const char* iniPath) {
  disk::TheModule().system.SetPath(iniPath);
}

MHW_EXPORT uint32_t MHW_CALL DeviceEntry(MhwWord* host) {
  disk::DiskModule& module = disk::TheModule();
  module.system.TakeHostTable(host);
  disk::RegisterHandlers(module, host);
  return 1;
}

MHW_EXPORT uint32_t MHW_CALL DeviceConect(MhwWord* modules) {
  disk::TheModule().system.DeviceConect(modules);
  return 1;
}

MHW_EXPORT void* MHW_CALL FastGUI(void* hostWindow, MhwWord value) {
  disk::DiskModule& module = disk::TheModule();
  module.system.links.ForgetDisplayModes();
  return disk::CreateStatusPanel(module.panel, hostWindow, value);
}

MHW_EXPORT void MHW_CALL DeviceConfig(void* parentWindow) {
  disk::ShowDiskSettingDialog(disk::TheModule().panel, parentWindow);
}

// The banner with its NUL; returns its length without the NUL.
MHW_EXPORT uint32_t MHW_CALL DeviceVer(char* buffer) {
  std::memcpy(buffer, kBanner, sizeof kBanner);
  return static_cast<uint32_t>(sizeof kBanner - 1);
}

}  // extern "C"
