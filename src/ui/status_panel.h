// The status panel: its entry points for the rest of the module, and the panel procedure that the
// window side forwards to. Without a panel window (before FastGUI, and always where the platform
// has none) RefreshPanel, SetAccessLamp and PressPanelButton do nothing.
#pragma once

namespace disk {

class ControlSurface;

// Brings every row of the panel up to date; called after each change of media or running state.
void RefreshPanel();
// Lights a row's access lamp until 80 ms after the last call; may be called from any thread.
void SetAccessLamp(int index, bool on);
// Acts as if the panel's control `id` had been pressed.
void PressPanelButton(int id);

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
