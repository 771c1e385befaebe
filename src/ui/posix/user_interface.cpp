// Without a window system there is no status panel and no dialog: the module runs headless.
#include "ui/user_interface.h"

namespace disk {

void* CreateStatusPanel(StatusPanel&, void*, MhwWord) {
  return nullptr;
}

void ShowDiskSettingDialog(StatusPanel&, void*) {}

void ClosePanelWindow(StatusPanel&) {}

}  // namespace disk
