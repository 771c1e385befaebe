// The host menu items of the two floppy drives.
#pragma once

#include "platform/host_abi.h"

namespace disk {

void RegisterMenuItems(MhwRegisterMenu registerMenu);

// What a drive's menu item shows and does, for floppy drive 0 or 1.
const char* MenuLabel(int drive);
int MenuCommand(int drive);  // the panel control the click presses

}  // namespace disk
