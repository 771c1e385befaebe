#include "ui/status_panel.h"

namespace disk {

// The panel window arrives with the user interface; until it exists these have nothing to act on.
void RefreshPanel() {}
void SetAccessLamp(int, bool) {}
void PressPanelButton(int) {}

}  // namespace disk
