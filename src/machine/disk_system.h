// The module's root object, one per module instance, built of parts with one concern each: the
// drive settings and paths (media/drive_settings.h), the host's services and register block
// (bios/host_link.h), the links to other modules (below), the devices (bios/devices.h) and the
// disk BIOS with its call state (bios/disk_bios.h). The panel state is the user interface's
// (ui/status_panel.h), which the module wires to this object. Built and handed on by reference:
// any number can live side by side.
#pragma once

#include <cstdint>

#include "bios/devices.h"
#include "bios/disk_bios.h"
#include "bios/host_link.h"
#include "chips/floppy_controller.h"
#include "machine/disk_settings.h"
#include "machine/machine_handlers.h"
#include "media/drive_settings.h"
#include "platform/host_abi.h"

namespace disk {

// Copies of other modules' tables (DeviceConect); null entries were not provided.
struct ModuleLinks {
  // The display-mode tables are taken anew by the DeviceConect that follows FastGUI.
  void ForgetDisplayModes() {
    for (MhwWord& word : dialogMode) word = 0;
    for (MhwWord& word : displayMode) word = 0;
  }

  MhwWord bootSelector[mhw::kBootSelectorFunctions] = {};
  MhwWord dialogMode[mhw::kDialogModeFunctions] = {};
  MhwWord displayMode[mhw::kDisplayModeFunctions] = {};
};

class DiskSystem {
 public:
  DiskSystem();
  virtual ~DiskSystem();
  DiskSystem(const DiskSystem&) = delete;
  DiskSystem& operator=(const DiskSystem&) = delete;

  // SetPath: the INI path, and the image paths and real-drive settings it holds.
  void SetPath(const char* path);
  // Copies the real-drive choices of the settings (use image files, drive letter, media type).
  void TakeRealDriveSettings(const DiskSettings& settings);
  // DeviceEntry: keeps the host's table and the words of it that the module uses.
  void TakeHostTable(MhwWord* table);
  void DeviceConect(const MhwWord* modules);

  // What the machine tells the user interface: an access lamp to light (index 0-3: floppy
  // drives 1 and 2, hard disks 1 and 2), and a change of media or of the running state.
  void ConnectPanel(Callback<int> lightLamp, Callback<> refresh);
  void RefreshPanel() const { refreshPanel_(); }

  // The host's periodic tick. When nothing waits for it (no drive lent to the floppy worker, no
  // mount or FDWAIT delay running) it only drives the controller's timing, inline: that is
  // nearly every tick. Otherwise PeriodicTick.
  void Tick();

  std::uint32_t running = 0;  // the drives are set up (BIOS start-up, snapshot load)
  DriveSettings settings;
  HostLink hostLink;
  ModuleLinks links;
  Devices devices{settings};
  // MountDelay of floppy drives 1 and 2: ticks until imagePaths of the drive is mounted.
  std::uint32_t mountDelay[kFloppyUnitCount] = {};
  DiskBios bios{hostLink, devices, settings};

 private:
  Callback<> refreshPanel_;
};

inline void DiskSystem::Tick() {
  std::uint32_t waiting = bios.floppyCall.lent ? 1 : 0;
  for (int unit = 0; unit < kFloppyUnitCount; ++unit)
    waiting |= mountDelay[unit] | bios.fdWaitCount[unit];
  if (waiting != 0) return PeriodicTick(*this);
  if (devices.fdc != nullptr) devices.fdc->Tick();
}

}  // namespace disk
