// Tells the floppy controller that a drive's ready state changed (a disk was inserted), so that
// the guest gets the controller's interrupt for it.
#pragma once

#include <cstdint>

namespace disk {

class DiskSystem;

void ReportReadyChange(DiskSystem& system, std::uint32_t unit);

}  // namespace disk
