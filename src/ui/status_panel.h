// The status panel: its entry points for the rest of the module, and the panel procedure that the
// window side forwards to. Without a panel window (before FastGUI, and always where the platform
// has none) RefreshPanel, SetAccessLamp and PressPanelButton do nothing.
#pragma once

#include <cstdint>

#include "platform/host_abi.h"

namespace disk {

class ControlSurface;
struct DriveSettings;

// The panel state: the two lamp bitmaps, the window procedures the four image-path buttons had
// before the panel took them over, and whether an image is being chosen or dropped.
struct PanelState {
  void* lampOn = nullptr;
  void* lampOff = nullptr;
  MhwWord buttonProc[4] = {};
  std::uint32_t panelBusy = 0;
};
PanelState& ThePanelState();

// Brings every row of the panel up to date; called after each change of media or running state.
void RefreshPanel();
// Lights a row's access lamp until 80 ms after the last call; may be called from any thread.
void SetAccessLamp(int index, bool on);
// Acts as if the panel's control `id` had been pressed.
void PressPanelButton(int id);

// The host's menu items of floppy drives 1 and 2 (drive 0 or 1): what one shows, and the panel
// control its click presses.
const char* MenuLabel(const DriveSettings& settings, int drive);
int MenuCommand(const DriveSettings& settings, int drive);

// The panel window, from its creation to its destruction; null otherwise.
void AttachPanel(ControlSurface* panel);
ControlSurface* Panel();

// The panel procedure. PanelCommand returns false for ids it does not handle.
void PanelInit(ControlSurface& panel);
bool PanelCommand(int id);
void PanelTimer(int id);
void PanelDestroyed();  // keeps the image paths in the INI file
// A file dropped on the image-path button `buttonId`.
void DropImage(int buttonId, const char* name);

}  // namespace disk
