// Without a window system there is no status panel and no dialog: the module runs headless.
#include "ui/user_interface.h"

namespace disk {

void* CreateStatusPanel(void*, MhwWord) {
  ForgetHostDisplayModes();
  return nullptr;
}

void ShowDiskSettingDialog(void*) {}

}  // namespace disk
