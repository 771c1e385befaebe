// Taking over what an operation did on a copy of a controller: the registers it changed, so that
// whatever the guest or the tick did to the others meanwhile stands.
#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"

namespace disk {
namespace {

template <typename Owner, typename... Registers>
void TakeAll(Owner& live, const Owner& after, Registers... registers) {
  ((live.*registers = after.*registers), ...);
}

template <typename Owner, typename... Registers>
void TakeChanged(Owner& live, const Owner& before, const Owner& after, Registers... registers) {
  auto take = [&](auto reg) {
    if (after.*reg != before.*reg) live.*reg = after.*reg;
  };
  (take(registers), ...);
}

}  // namespace

void FloppyController::TakeOperationRegisters(const FloppyController& before,
                                              const FloppyController& after) {
  using C = FloppyController;
  // What the interrupt reports is the operation's result, changed or not.
  TakeAll(*this, after, &C::unit, &C::st0, &C::st1, &C::st2, &C::pcn, &C::ncn, &C::idC, &C::idH,
          &C::idR, &C::idN);
  TakeChanged(*this, before, after, &C::mainStatus, &C::commandByte, &C::unitByte, &C::eot, &C::gpl,
              &C::formatGpl, &C::dtl, &C::formatSc, &C::formatFill, &C::st3, &C::command,
              &C::interfaceMode, &C::dmaSelect, &C::periodicCountdown, &C::interruptDelay,
              &C::dataLatch, &C::control, &C::forceReady, &C::seekEndPending, &C::paramIndex,
              &C::resultIndex);
}

void DmaController::TakeChangedRegisters(const DmaController& before, const DmaController& after) {
  using D = DmaController;
  TakeChanged(*this, before, after, &D::status, &D::flipFlop, &D::port439);
  for (int channel = 0; channel < kChannels; ++channel) {
    auto take = [&](auto& live, const auto& was, const auto& now) {
      if (now[channel] != was[channel]) live[channel] = now[channel];
    };
    take(address, before.address, after.address);
    take(count, before.count, after.count);
    take(bank, before.bank, after.bank);
    take(masked, before.masked, after.masked);
  }
}

}  // namespace disk
