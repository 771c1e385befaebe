#include "machine/disk_system.h"

#include <cstring>

namespace disk {

DiskSystem::DiskSystem() {
  running = 0;
}

DiskSystem::~DiskSystem() {
  // Before the devices go: a floppy worker still running uses the drives and the controller.
  bios.floppyCall.worker.Join();
  running = 0;
}

void DiskSystem::SetPath(const char* path) {
  platform::CopyString(settings.iniPath, path, platform::kPathSize);
  DiskSettings loaded(settings.iniPath);
  loaded.Load();
  for (int i = 0; i < kImageCount; ++i)
    platform::CopyString(settings.imagePaths[i], loaded.imagePaths[i], platform::kPathSize);
  TakeRealDriveSettings(loaded);
  for (RealDriveRecord& record : settings.realDrives) {
    record.inserted = 0;
    record.writeProtect = 1;
  }
}

void DiskSystem::TakeRealDriveSettings(const DiskSettings& loaded) {
  for (int i = 0; i < kFloppyUnitCount; ++i) {
    RealDriveRecord& record = settings.realDrives[i];
    record.useImage = loaded.realDrives[i].useImage;
    platform::CopyString(record.driveName, loaded.realDrives[i].driveName, platform::kPathSize);
    record.is144 = static_cast<std::uint8_t>(loaded.realDrives[i].is144);
  }
}

void DiskSystem::TakeHostTable(MhwWord* table) {
  using namespace mhw;
  HostLink& h = hostLink;
  h.host = table;
  h.hostWindowRecord = reinterpret_cast<MhwWord*>(table[kSlotMainWindowRecord]);
  h.hostResume = Slot<MhwResume>(table, kSlotResume);
  h.readByteSeg = Slot<MhwReadByteSeg>(table, kSlotReadByteSeg);
  h.readWordSeg = Slot<MhwReadWordSeg>(table, kSlotReadWordSeg);
  h.readDwordSeg = Slot<MhwReadDwordSeg>(table, kSlotReadDwordSeg);
  h.writeByteSeg = Slot<MhwWriteByteSeg>(table, kSlotWriteByteSeg);
  h.writeWordSeg = Slot<MhwWriteWordSeg>(table, kSlotWriteWordSeg);
  h.writeDwordSeg = Slot<MhwWriteDwordSeg>(table, kSlotWriteDwordSeg);
  h.readByteLinear = Slot<MhwReadByteLinear>(table, kSlotReadByteLinear);
  h.readDwordLinear = Slot<MhwReadDwordLinear>(table, kSlotReadDwordLinear);
  h.writeByteLinear = Slot<MhwWriteByteLinear>(table, kSlotWriteByteLinear);
  h.raiseInterrupt = TableWord<MhwRaiseInterrupt>(table, kSlotInterruptTable, kRaiseInterruptWord);
  h.registers = reinterpret_cast<std::uint8_t*>(table[kSlotRegisters]);
  h.hostQueue = reinterpret_cast<MhwRerunQueue*>(table[kSlotRerunQueue]);
  h.reportLine = Slot<MhwReportLine>(table, kSlotReportLine);
  h.chargeCost = TableWord<MhwCharge>(table, kSlotChargeTable, kChargeWord);
}

void DiskSystem::DeviceConect(const MhwWord* modules) {
  auto copy = [modules](unsigned entry, MhwWord* destination, unsigned count) {
    if (modules == nullptr || modules[entry] == 0) return;
    std::memcpy(destination, reinterpret_cast<const MhwWord*>(modules[entry]),
                count * sizeof(MhwWord));
  };
  copy(mhw::kModuleDisplayMode, links.displayMode, mhw::kDisplayModeFunctions);
  copy(mhw::kModuleDialogMode, links.dialogMode, mhw::kDialogModeFunctions);
  copy(mhw::kModuleBootSelector, links.bootSelector, mhw::kBootSelectorFunctions);
}

void DiskSystem::ConnectPanel(Callback<int> lightLamp, Callback<> refresh) {
  if (devices.fdc != nullptr) devices.fdc->wiring().lightLamp = lightLamp;
  bios.lightLamp = lightLamp;
  refreshPanel_ = refresh;
}

}  // namespace disk
