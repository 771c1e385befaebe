#include <cstring>

#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"
#include "module/port_table.h"
#include "ui/menu_items.h"

namespace disk {
namespace {

template <typename Function>
Function Slot(const MhwWord* table, unsigned slot) {
  return reinterpret_cast<Function>(table[slot]);
}

// The word at `index` of the table that a host slot points at.
template <typename Function>
Function TableWord(const MhwWord* table, unsigned slot, unsigned index) {
  auto* inner = reinterpret_cast<const MhwWord*>(table[slot]);
  return inner != nullptr ? reinterpret_cast<Function>(inner[index]) : nullptr;
}

constexpr unsigned kInterruptDiskBios = 0x1B;
constexpr unsigned kInterruptFloppy1MB = 0x13;
constexpr unsigned kInterruptFloppy640KB = 0x12;

}  // namespace

void DiskSystem::DeviceEntry(MhwWord* table) {
  using namespace mhw;
  host = table;
  hostWindowRecord = reinterpret_cast<MhwWord*>(table[kSlotMainWindowRecord]);
  hostResume = Slot<MhwResume>(table, kSlotResume);
  readByteSeg = Slot<MhwReadByteSeg>(table, kSlotReadByteSeg);
  readWordSeg = Slot<MhwReadWordSeg>(table, kSlotReadWordSeg);
  readDwordSeg = Slot<MhwReadDwordSeg>(table, kSlotReadDwordSeg);
  writeByteSeg = Slot<MhwWriteByteSeg>(table, kSlotWriteByteSeg);
  writeWordSeg = Slot<MhwWriteWordSeg>(table, kSlotWriteWordSeg);
  writeDwordSeg = Slot<MhwWriteDwordSeg>(table, kSlotWriteDwordSeg);
  readByteLinear = Slot<MhwReadByteLinear>(table, kSlotReadByteLinear);
  readWordLinear = Slot<MhwReadWordLinear>(table, kSlotReadWordLinear);
  readDwordLinear = Slot<MhwReadDwordLinear>(table, kSlotReadDwordLinear);
  writeByteLinear = Slot<MhwWriteByteLinear>(table, kSlotWriteByteLinear);
  writeWordLinear = Slot<MhwWriteWordLinear>(table, kSlotWriteWordLinear);
  writeDwordLinear = Slot<MhwWriteDwordLinear>(table, kSlotWriteDwordLinear);
  raiseInterrupt = TableWord<MhwRaiseInterrupt>(table, kSlotInterruptTable, kRaiseInterruptWord);
  registers = reinterpret_cast<std::uint8_t*>(table[kSlotRegisters]);
  hostQueue = reinterpret_cast<MhwRerunQueue*>(table[kSlotRerunQueue]);
  reportLine = Slot<MhwReportLine>(table, kSlotReportLine);
  chargeCost = TableWord<MhwCharge>(table, kSlotChargeTable, kChargeWord);
  if (dma != nullptr) dma->Connect({readByteLinear, writeByteLinear});
  if (fdc != nullptr) fdc->ConnectInterrupt(raiseInterrupt);

  Slot<MhwRegisterHandler>(table, kSlotRegisterReset)(&ResetDevices);
  Slot<MhwRegisterHandler>(table, kSlotRegisterStartup)(&BiosStartup);
  Slot<MhwRegisterSave>(table, kSlotRegisterSave)(kSnapshotSize, &SaveState);
  Slot<MhwRegisterLoad>(table, kSlotRegisterLoad)(&LoadState);
  Slot<MhwRegisterHandler>(table, kSlotRegisterPowerOff)(&PowerOff);

  auto registerInterrupt = Slot<MhwRegisterInterrupt>(table, kSlotRegisterInterrupt);
  for (std::uint32_t ah = 0; ah < 256; ++ah)
    registerInterrupt(kInterruptDiskBios, ah, &DiskBiosHandler);
  for (std::uint32_t ah = 0; ah < 256; ++ah) {
    registerInterrupt(kInterruptFloppy1MB, ah, &FloppyInterruptService);
    registerInterrupt(kInterruptFloppy640KB, ah, &FloppyInterruptService);
  }

  RegisterPorts(Slot<MhwRegisterOut>(table, kSlotRegisterOut),
                Slot<MhwRegisterIn>(table, kSlotRegisterIn));
  Slot<MhwRegisterHandler>(table, kSlotRegisterTick)(&PeriodicTick);
  RegisterMenuItems(Slot<MhwRegisterMenu>(table, kSlotRegisterMenu));

  std::memset(&biosExtension, 0, sizeof biosExtension);
  biosExtension.RegisterDiskBiosHandler = &RegisterDiskBiosHandler;
  table[kSlotDiskBiosExtension] = reinterpret_cast<MhwWord>(&biosExtension);
}

}  // namespace disk
