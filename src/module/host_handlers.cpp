// The handlers the module registers with the host. The host passes them nothing that names the
// module instance (a port handler gets only its byte), so each reaches the instance itself and
// hands it on.
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "bios/disk_bios.h"
#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "machine/machine_handlers.h"
#include "module/disk_module.h"
#include "ui/status_panel.h"

namespace disk {
namespace {

constexpr unsigned kInterruptDiskBios = 0x1B;
constexpr unsigned kInterruptFloppy1MB = 0x13;
constexpr unsigned kInterruptFloppy640KB = 0x12;
constexpr std::uint32_t kMenuIdFdd1 = 4;
constexpr std::uint32_t kMenuIdFdd2 = 5;

// The guest I/O ports the module serves, in the order they are registered with the host.
constexpr std::array<std::uint16_t, 22> kDmaOutPorts = {
    0x01, 0x03, 0x05, 0x07, 0x09, 0x0B, 0x0D, 0x0F, 0x11, 0x13, 0x15,
    0x17, 0x19, 0x1B, 0x1D, 0x1F, 0x21, 0x23, 0x25, 0x27, 0x29, 0x439};
constexpr std::array<std::uint16_t, 15> kDmaInPorts = {
    0x01, 0x03, 0x05, 0x07, 0x09, 0x0B, 0x0D, 0x0F, 0x11, 0x1B, 0x21, 0x23, 0x25, 0x27, 0x439};
constexpr std::array<std::uint16_t, 6> kFdcOutPorts = {0x92, 0x94, 0xBE, 0xCA, 0xCC, 0x4BE};
constexpr std::array<std::uint16_t, 8> kFdcInPorts = {0x90, 0x92, 0x94, 0xBE,
                                                      0xC8, 0xCA, 0xCC, 0x4BE};

DiskSystem& System() {
  return TheModule().system;
}

void MHW_CALL OnReset() {
  ResetDevices(System());
}
void MHW_CALL OnBiosStartup() {
  BiosStartup(System());
}
void MHW_CALL OnPowerOff() {
  PowerOff(System());
}
void MHW_CALL OnTick() {
  System().Tick();
}
void MHW_CALL OnSave(std::uint8_t* buffer) {
  SaveState(System(), buffer);
}
std::uint32_t MHW_CALL OnLoad(const std::uint8_t* buffer) {
  return LoadState(System(), buffer);
}
std::uint32_t MHW_CALL OnDiskBios() {
  return DiskBiosHandler(System().bios);
}
std::uint32_t MHW_CALL OnFloppyInterrupt() {
  return FloppyInterruptService(System().bios);
}
std::uint32_t MHW_CALL OnRegisterDiskBiosHandler(std::uint32_t da, MhwDiskBiosHandler handler) {
  return RegisterDiskBiosHandler(System().bios, da, handler);
}

// Each port gets a handler of its own that knows its number, so that the controllers' inline port
// dispatch comes down to that port's case.
template <auto& Ports, std::size_t I>
void MHW_CALL DmaOut(std::uint8_t value) {
  if (DmaController* dma = System().devices.dma) dma->WritePort(Ports[I], value);
}
template <auto& Ports, std::size_t I>
std::uint8_t MHW_CALL DmaIn() {
  DmaController* dma = System().devices.dma;
  return dma != nullptr ? dma->ReadPort(Ports[I]) : 0;
}
template <auto& Ports, std::size_t I>
void MHW_CALL FdcOut(std::uint8_t value) {
  if (FloppyController* fdc = System().devices.fdc) fdc->WritePort(Ports[I], value);
}
template <auto& Ports, std::size_t I>
std::uint8_t MHW_CALL FdcIn() {
  FloppyController* fdc = System().devices.fdc;
  return fdc != nullptr ? fdc->ReadPort(Ports[I]) : 0;
}

template <auto& Ports, std::size_t... I>
void RegisterDmaOut(MhwRegisterOut reg, std::index_sequence<I...>) {
  (reg(Ports[I], &DmaOut<Ports, I>), ...);
}
template <auto& Ports, std::size_t... I>
void RegisterDmaIn(MhwRegisterIn reg, std::index_sequence<I...>) {
  (reg(Ports[I], &DmaIn<Ports, I>), ...);
}
template <auto& Ports, std::size_t... I>
void RegisterFdcOut(MhwRegisterOut reg, std::index_sequence<I...>) {
  (reg(Ports[I], &FdcOut<Ports, I>), ...);
}
template <auto& Ports, std::size_t... I>
void RegisterFdcIn(MhwRegisterIn reg, std::index_sequence<I...>) {
  (reg(Ports[I], &FdcIn<Ports, I>), ...);
}

template <auto& Ports>
constexpr auto IndicesOf = std::make_index_sequence<Ports.size()>{};

template <int Drive>
void MHW_CALL MenuClick() {
  DiskModule& module = TheModule();
  PressPanelButton(module.panel, MenuCommand(module.system.settings, Drive));
}
template <int Drive>
std::uint32_t MHW_CALL MenuText(char* buffer) {
  const char* label = MenuLabel(System().settings, Drive);
  const std::size_t length = std::strlen(label) + 1;
  std::memcpy(buffer, label, length);
  return static_cast<std::uint32_t>(length);
}

}  // namespace

void RegisterHandlers(DiskModule& module, MhwWord* table) {
  using namespace mhw;
  Slot<MhwRegisterHandler>(table, kSlotRegisterReset)(&OnReset);
  Slot<MhwRegisterHandler>(table, kSlotRegisterStartup)(&OnBiosStartup);
  Slot<MhwRegisterSave>(table, kSlotRegisterSave)(kSnapshotSize, &OnSave);
  Slot<MhwRegisterLoad>(table, kSlotRegisterLoad)(&OnLoad);
  Slot<MhwRegisterHandler>(table, kSlotRegisterPowerOff)(&OnPowerOff);

  auto registerInterrupt = Slot<MhwRegisterInterrupt>(table, kSlotRegisterInterrupt);
  for (std::uint32_t ah = 0; ah < 256; ++ah) registerInterrupt(kInterruptDiskBios, ah, &OnDiskBios);
  for (std::uint32_t ah = 0; ah < 256; ++ah) {
    registerInterrupt(kInterruptFloppy1MB, ah, &OnFloppyInterrupt);
    registerInterrupt(kInterruptFloppy640KB, ah, &OnFloppyInterrupt);
  }

  auto registerOut = Slot<MhwRegisterOut>(table, kSlotRegisterOut);
  auto registerIn = Slot<MhwRegisterIn>(table, kSlotRegisterIn);
  RegisterDmaOut<kDmaOutPorts>(registerOut, IndicesOf<kDmaOutPorts>);
  RegisterDmaIn<kDmaInPorts>(registerIn, IndicesOf<kDmaInPorts>);
  RegisterFdcOut<kFdcOutPorts>(registerOut, IndicesOf<kFdcOutPorts>);
  RegisterFdcIn<kFdcInPorts>(registerIn, IndicesOf<kFdcInPorts>);
  Slot<MhwRegisterHandler>(table, kSlotRegisterTick)(&OnTick);

  auto registerMenu = Slot<MhwRegisterMenu>(table, kSlotRegisterMenu);
  registerMenu(kMenuIdFdd1, "FDD1", &MenuClick<0>, &MenuText<0>);
  registerMenu(kMenuIdFdd2, "FDD2", &MenuClick<1>, &MenuText<1>);

  MhwDiskBiosExtension& extension = module.system.bios.biosExtension;
  std::memset(&extension, 0, sizeof extension);
  extension.RegisterDiskBiosHandler = &OnRegisterDiskBiosHandler;
  table[kSlotDiskBiosExtension] = reinterpret_cast<MhwWord>(&extension);
}

}  // namespace disk
