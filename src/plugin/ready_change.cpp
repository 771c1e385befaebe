#include "plugin/ready_change.h"

#include "fdc/floppy_controller.h"
#include "plugin/disk_system.h"

namespace disk {

void ReportReadyChange(DiskSystem& system, std::uint32_t) {
  if (system.fdc == nullptr) return;
}

}  // namespace disk
