// Media changes from the user interface: taking a medium out of a drive row (a running floppy
// drive is unmounted at once and the controller reports the ready change) and scheduling the
// next one in, which the periodic tick mounts.
#pragma once

namespace disk {

class DiskSystem;

inline constexpr unsigned kMountDelayTicks = 40;

// Rows 0 and 1 are floppy drives 1 and 2, rows 2 and 3 hard disks 1 and 2. The first step of
// every media change: a real drive toggles between set and ejected, any other row loses its
// image.
void EjectMedium(DiskSystem& system, int row);
// A floppy row's image is mounted 40 ticks from now when the machine runs.
void ScheduleMount(DiskSystem& system, int row);

}  // namespace disk
