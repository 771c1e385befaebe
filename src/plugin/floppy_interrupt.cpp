// The BIOS service of the floppy controller's interrupt (INT 12h and INT 13h).
#include "plugin/disk_system.h"
#include "plugin/machine_handlers.h"

namespace disk {

std::uint32_t MHW_CALL FloppyInterruptService() {
  return mhw::kBiosNoCarry;
}

}  // namespace disk
