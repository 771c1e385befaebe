#include "bios/devices.h"

#include <new>

#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"
#include "media/hard_disk_drive.h"

namespace disk {

Devices::Devices(DriveSettings& settings) {
  dma = new (std::nothrow) DmaController();
  fdc = new (std::nothrow) FloppyController();
  for (int i = 0; i < kFloppyDriveObjects; ++i)
    floppyDrives[i] = new (std::nothrow) FloppyDrive(static_cast<std::uint32_t>(i), &settings);
  for (int i = 0; i < kHardDiskCount; ++i)
    hardDisks[i] = new (std::nothrow) HardDiskDrive(static_cast<std::uint32_t>(i));
  if (fdc != nullptr) {
    FloppyController::Wiring wiring;
    wiring.drives[0] = floppyDrives[0];
    wiring.drives[1] = floppyDrives[1];
    wiring.dma = dma;
    fdc->Connect(wiring);
  }
}

Devices::~Devices() {
  delete dma;
  delete fdc;
  for (FloppyDrive* drive : floppyDrives) delete drive;
  for (HardDiskDrive* drive : hardDisks) delete drive;
}

}  // namespace disk
