// Taking a medium out of a drive row and scheduling the next one in.
#pragma once

namespace disk {

inline constexpr unsigned kMountDelayTicks = 40;

// The first step of every media change from the user interface: a real drive toggles between
// set and ejected, any other row loses its image (a running floppy drive is unmounted at once).
void EjectMedium(int row);
// A floppy row's image is mounted 40 ticks from now when the machine runs.
void ScheduleMount(int row);

}  // namespace disk
