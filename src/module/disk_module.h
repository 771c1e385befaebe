// The module instance behind the exports: the root object and the status panel over it. The one
// global of the library (module/exports.cpp) holds one, built when the library loads and destroyed
// when it unloads. The host calls the exports and the handlers they register (module/
// host_handlers.cpp) with nothing that names an instance, so they, and only they, reach it
// through TheModule(), which is inline: a port handler or the tick, called millions of times a
// second, pays no call for it.
#pragma once

#include "machine/disk_system.h"
#include "platform/host_abi.h"
#include "ui/status_panel.h"

namespace disk {

struct DiskModule {
  // Wires the machine's lamps and refreshes to the panel.
  DiskModule();
  DiskModule(const DiskModule&) = delete;
  DiskModule& operator=(const DiskModule&) = delete;

  DiskSystem system;
  StatusPanel panel{system};  // destroyed first: its window goes before the machine
};

extern DiskModule gModule;  // exports.cpp
inline DiskModule& TheModule() {
  return gModule;
}

// DeviceEntry's registrations with the host, in their order: the machine's handlers, INT 1Bh,
// INT 13h and 12h, the ports, the tick, the menu items and the disk BIOS extension.
void RegisterHandlers(DiskModule& module, MhwWord* table);

}  // namespace disk
