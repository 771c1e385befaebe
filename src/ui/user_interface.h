// The windows the host asks the module for, where the platform has windows.
#pragma once

#include "platform/host_abi.h"

namespace disk {

class StatusPanel;

// Creates the status panel inside the host window; returns the panel window or null.
void* CreateStatusPanel(StatusPanel& panel, void* hostWindow, MhwWord value);
// Shows the disk setting dialog, owned by `parentWindow`.
void ShowDiskSettingDialog(StatusPanel& panel, void* parentWindow);
// Destroys the panel window if it still exists.
void ClosePanelWindow(StatusPanel& panel);

}  // namespace disk
