#include "module/disk_module.h"

namespace disk {
namespace {

void LightLamp(void* panel, int index) {
  SetAccessLamp(*static_cast<StatusPanel*>(panel), index, true);
}
void Refresh(void* panel) {
  RefreshPanel(*static_cast<StatusPanel*>(panel));
}

DiskModule gModule;

}  // namespace

DiskModule::DiskModule() {
  system.ConnectPanel({&panel, &LightLamp}, {&panel, &Refresh});
}

DiskModule& TheModule() {
  return gModule;
}

}  // namespace disk
