// The module instance behind the exports: the one global of the library, built when it loads and
// destroyed when it unloads. The host calls the exports and the handlers they register with
// nothing that names an instance; they reach it here, and only they do.
#pragma once

#include "machine/disk_system.h"
#include "platform/host_abi.h"

namespace disk {

struct DiskModule {
  DiskModule();
  DiskSystem system;
};

DiskModule& TheModule();

// DeviceEntry's registrations with the host, in their order: the machine's handlers, INT 1Bh,
// INT 13h and 12h, the ports, the tick, the menu items and the disk BIOS extension.
void RegisterHandlers(DiskModule& module, MhwWord* table);

}  // namespace disk
