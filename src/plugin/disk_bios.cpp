#include <atomic>

#include "plugin/disk_system.h"
#include "plugin/floppy_call.h"
#include "plugin/machine_handlers.h"

namespace disk {
namespace {

std::atomic<std::uint32_t> gCallPending{0};
std::atomic<std::uint32_t> gWorkerRunning{0};

std::uint8_t& AH(std::uint8_t* registers) {
  return registers[mhw::reg::kAH];
}

// Device classes by the DA high nibble.
bool IsHardDiskClass(unsigned nibble) {
  return nibble == 0x0 || nibble == 0x8;
}
bool IsFloppyClass(unsigned nibble) {
  return nibble == 0x1 || nibble == 0x3 || nibble == 0x7 || nibble == 0x9 || nibble == 0xB;
}

constexpr std::uint8_t kStatusNotReady = 0x60;
constexpr std::uint8_t kStatusBadUnit = 0x40;

}  // namespace

void ForgetPendingFloppyCall() {
  gCallPending.store(0);
  gWorkerRunning.store(0);
}

std::uint32_t MHW_CALL DiskBiosHandler() {
  DiskSystem& system = TheDiskSystem();
  std::uint8_t* regs = system.registers;
  if (regs == nullptr) return mhw::kBiosNoCarry;
  const std::uint8_t da = regs[mhw::reg::kAL];
  const unsigned nibble = da >> 4;
  if (IsHardDiskClass(nibble) || IsFloppyClass(nibble)) {
    // The drives answer once their BIOS operations exist; until then nothing is ready.
    AH(regs) = kStatusNotReady;
    return mhw::kBiosCarrySet;
  }
  MhwWord handler = system.biosExtension.handlers[nibble];
  if (handler == 0) {
    AH(regs) = kStatusBadUnit;
    return mhw::kBiosCarryClear;
  }
  return reinterpret_cast<MhwDiskBiosHandler>(handler)(da & 0xF0u) != 0 ? mhw::kBiosCarrySet
                                                                        : mhw::kBiosCarryClear;
}

std::uint32_t MHW_CALL FloppyInterruptService() {
  return mhw::kBiosNoCarry;
}

std::uint32_t MHW_CALL RegisterDiskBiosHandler(std::uint32_t da, MhwDiskBiosHandler handler) {
  const unsigned nibble = (da & 0xFF) >> 4;
  if (IsHardDiskClass(nibble) || IsFloppyClass(nibble)) return 0;
  MhwWord& entry = TheDiskSystem().biosExtension.handlers[nibble];
  if (entry != 0) return 0;
  entry = reinterpret_cast<MhwWord>(handler);
  return 1;
}

}  // namespace disk
