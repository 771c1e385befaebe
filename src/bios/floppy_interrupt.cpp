// The BIOS service of the floppy controller's interrupt (INT 12h and INT 13h): the controller's
// results go into the unit's eight result bytes of the work area, and the unit's bit into the
// interrupt flags the BIOS calls wait on.
#include "bios/floppy_worker.h"
#include "bios/work_area.h"
#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"

namespace disk {
namespace {
constexpr std::uint8_t kSeekEnd = 0x20;  // ST0 bit 5: the result is a seek's, PCN follows
}  // namespace

std::uint32_t MHW_CALL FloppyInterruptService() {
  DiskSystem& system = TheDiskSystem();
  FloppyController* fdc = system.fdc;
  if (fdc == nullptr) return mhw::kBiosNoCarry;
  const std::uint32_t unit = fdc->unit & 3;
  // A drive lent to the floppy worker reports where its head stood when the call began.
  const HeadPosition head = VisibleHead(system, unit);
  const std::uint8_t results[work_area::kFloppyResultSize] = {
      fdc->st0,  (fdc->st0 & kSeekEnd) != 0 ? fdc->pcn : fdc->st1,
      fdc->st2,  head.cylinder,
      head.side, fdc->idR,
      fdc->idN,  fdc->ncn,
  };
  const std::uint32_t at = work_area::kFloppyResults + work_area::kFloppyResultSize * unit;
  for (std::uint32_t i = 0; i < work_area::kFloppyResultSize; ++i)
    WriteGuestByte(system, at + i, results[i]);
  WriteGuestByte(system, work_area::kFloppyInterrupt, static_cast<std::uint8_t>(1u << unit));
  fdc->EnterPhase(FloppyController::Phase::kCommand);
  return mhw::kBiosNoCarry;
}

}  // namespace disk
