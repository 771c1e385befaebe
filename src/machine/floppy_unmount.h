#pragma once

namespace disk {

// Takes the disk out of a running floppy drive and tells the controller its ready line changed.
void UnmountFloppy(int row);

}  // namespace disk
