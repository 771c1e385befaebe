// The status panel's entry points for the rest of the module. Without a panel window (before
// FastGUI, and always where the platform has none) each of them does nothing.
#pragma once

namespace disk {

// Brings every row of the panel up to date; called after each change of media or running state.
void RefreshPanel();
// Lights a row's access lamp until 80 ms after the last call; may be called from any thread.
void SetAccessLamp(int index, bool on);
// Acts as if the panel's control `id` had been pressed.
void PressPanelButton(int id);

}  // namespace disk
