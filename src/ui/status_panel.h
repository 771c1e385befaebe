// The status panel of one module instance: its panel state, its entry points for the rest of the
// module, and the panel procedure that the window side forwards to. Without a panel window
// (before FastGUI, and always where the platform has none) RefreshPanel, SetAccessLamp and
// PressPanelButton do nothing.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/host_abi.h"
#include "ui/panel_controls.h"

namespace disk {

class ControlSurface;
class DiskSystem;
struct DriveSettings;

class StatusPanel {
 public:
  explicit StatusPanel(DiskSystem& diskSystem) : system(diskSystem) {}
  // Closes a panel window still open: the module is unloading.
  virtual ~StatusPanel();
  StatusPanel(const StatusPanel&) = delete;
  StatusPanel& operator=(const StatusPanel&) = delete;

  DiskSystem& system;

  // The panel state: the two lamp bitmaps, the window procedures the four image-path buttons had
  // before the panel took them over, and whether an image is being chosen or dropped.
  void* lampOn = nullptr;
  void* lampOff = nullptr;
  MhwWord buttonProc[panel::kRows] = {};
  std::uint32_t panelBusy = 0;
  void* window = nullptr;  // the panel window, where the platform has one
  // The panel window's surface, from its creation to its destruction; null otherwise. Set on the
  // panel's thread, read by SetAccessLamp from any thread.
  std::atomic<ControlSurface*> surface{nullptr};
};

// Brings every row of the panel up to date; called after each change of media or running state.
void RefreshPanel(StatusPanel& panel);
// Lights a row's access lamp until 80 ms after the last call; may be called from any thread.
void SetAccessLamp(StatusPanel& panel, int index, bool on);
// Acts as if the panel's control `id` had been pressed.
void PressPanelButton(StatusPanel& panel, int id);

// The host's menu items of floppy drives 1 and 2 (drive 0 or 1): what one shows, and the panel
// control its click presses.
const char* MenuLabel(const DriveSettings& settings, int drive);
int MenuCommand(const DriveSettings& settings, int drive);

// The panel procedure. PanelCommand returns false for ids it does not handle.
void PanelInit(StatusPanel& panel, ControlSurface& surface);
bool PanelCommand(StatusPanel& panel, int id);
void PanelTimer(StatusPanel& panel, int id);
void PanelDestroyed(StatusPanel& panel);  // keeps the image paths in the INI file
// A file dropped on the image-path button `buttonId`.
void DropImage(StatusPanel& panel, int buttonId, const char* name);

}  // namespace disk
