#include "module/port_table.h"

#include <utility>

#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "machine/disk_system.h"

namespace disk {
namespace {

// The host passes a handler nothing but the byte, so each port gets a handler of its own that
// knows its number.
template <auto& Ports, std::size_t I>
void MHW_CALL DmaOut(std::uint8_t value) {
  if (DmaController* dma = TheDiskSystem().dma) dma->WritePort(Ports[I], value);
}
template <auto& Ports, std::size_t I>
std::uint8_t MHW_CALL DmaIn() {
  DmaController* dma = TheDiskSystem().dma;
  return dma != nullptr ? dma->ReadPort(Ports[I]) : 0;
}
template <auto& Ports, std::size_t I>
void MHW_CALL FdcOut(std::uint8_t value) {
  if (FloppyController* fdc = TheDiskSystem().fdc) fdc->WritePort(Ports[I], value);
}
template <auto& Ports, std::size_t I>
std::uint8_t MHW_CALL FdcIn() {
  FloppyController* fdc = TheDiskSystem().fdc;
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

}  // namespace

void RegisterPorts(MhwRegisterOut registerOut, MhwRegisterIn registerIn) {
  RegisterDmaOut<kDmaOutPorts>(registerOut, IndicesOf<kDmaOutPorts>);
  RegisterDmaIn<kDmaInPorts>(registerIn, IndicesOf<kDmaInPorts>);
  RegisterFdcOut<kFdcOutPorts>(registerOut, IndicesOf<kFdcOutPorts>);
  RegisterFdcIn<kFdcInPorts>(registerIn, IndicesOf<kFdcInPorts>);
}

}  // namespace disk
