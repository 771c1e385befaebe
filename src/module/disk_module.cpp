#include "module/disk_module.h"

#include "ui/status_panel.h"

namespace disk {
namespace {

void LightLamp(void*, int index) {
  SetAccessLamp(index, true);
}
void Refresh(void*) {
  RefreshPanel();
}

DiskModule gModule;

}  // namespace

DiskModule::DiskModule() {
  system.ConnectPanel({nullptr, &LightLamp}, {nullptr, &Refresh});
}

DiskModule& TheModule() {
  return gModule;
}

DiskSystem& TheDiskSystem() {
  return gModule.system;
}

}  // namespace disk
