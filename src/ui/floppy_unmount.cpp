#include "ui/floppy_unmount.h"

namespace disk {

// The drive and controller operations arrive with the floppy drive model and the controller.
void UnmountFloppy(int) {}

}  // namespace disk
