#include "machine/disk_system.h"

#include <cstring>
#include <new>

#include "bios/floppy_worker.h"
#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"
#include "media/hard_disk_drive.h"

namespace disk {

DiskSystem::DiskSystem() {
  // A failed allocation leaves its slot null; every user tests the slot.
  dma = new (std::nothrow) DmaController();
  fdc = new (std::nothrow) FloppyController();
  for (int i = 0; i < kFloppyDriveObjects; ++i)
    floppyDrives[i] = new (std::nothrow) FloppyDrive(static_cast<std::uint32_t>(i));
  for (int i = 0; i < kHardDiskCount; ++i)
    hardDisks[i] = new (std::nothrow) HardDiskDrive(static_cast<std::uint32_t>(i));
  if (fdc != nullptr) {
    FloppyController::Wiring wiring;
    wiring.drives[0] = floppyDrives[0];
    wiring.drives[1] = floppyDrives[1];
    wiring.dma = dma;
    // A guest's command at the ports waits for a floppy worker that has one of the drives.
    wiring.claimDrives = [] { TakeBackFloppyWorker(TheDiskSystem(), true); };
    fdc->Connect(wiring);
  }
  running = 0;
}

DiskSystem::~DiskSystem() {
  // A floppy worker still running uses the drives and the controller deleted below.
  floppyCall.worker.Join();
  delete dma;
  delete fdc;
  for (auto*& drive : floppyDrives) delete drive;
  for (auto*& drive : hardDisks) delete drive;
  dma = nullptr;
  fdc = nullptr;
  running = 0;
}

void DiskSystem::SetPath(const char* path) {
  CopyString(iniPath, path, kPathSize);
  DiskSettings settings(iniPath);
  settings.Load();
  for (int i = 0; i < kImageCount; ++i)
    CopyString(imagePaths[i], settings.imagePaths[i], kPathSize);
  TakeRealDriveSettings(settings);
  for (RealDriveRecord& record : realDrives) {
    record.inserted = 0;
    record.writeProtect = 1;
  }
}

void DiskSystem::TakeRealDriveSettings(const DiskSettings& settings) {
  for (int i = 0; i < kFloppyUnitCount; ++i) {
    RealDriveRecord& record = realDrives[i];
    record.useImage = settings.realDrives[i].useImage;
    CopyString(record.driveName, settings.realDrives[i].driveName, kPathSize);
    record.is144 = static_cast<std::uint8_t>(settings.realDrives[i].is144);
  }
}

void DiskSystem::DeviceConect(const MhwWord* modules) {
  auto copy = [modules](unsigned entry, MhwWord* destination, unsigned count) {
    if (modules == nullptr || modules[entry] == 0) return;
    std::memcpy(destination, reinterpret_cast<const MhwWord*>(modules[entry]),
                count * sizeof(MhwWord));
  };
  copy(mhw::kModuleDisplayMode, displayMode, mhw::kDisplayModeFunctions);
  copy(mhw::kModuleDialogMode, dialogMode, mhw::kDialogModeFunctions);
  copy(mhw::kModuleBootSelector, bootSelector, mhw::kBootSelectorFunctions);
}

namespace {
// Built when the library loads, destroyed when it unloads.
DiskSystem gDiskSystem;
}  // namespace

DiskSystem& TheDiskSystem() {
  return gDiskSystem;
}

}  // namespace disk
