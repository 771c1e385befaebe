// The windows the host asks the module for.
#pragma once

#include "platform/host_abi.h"

namespace disk {

// Creates the status panel inside the host window; returns the panel window or null.
void* CreateStatusPanel(void* hostWindow, MhwWord value);
// Shows the disk setting dialog, owned by `parentWindow`.
void ShowDiskSettingDialog(void* parentWindow);

// The host's display-mode tables are taken anew by the DeviceConect that follows FastGUI.
void ForgetHostDisplayModes();

}  // namespace disk
