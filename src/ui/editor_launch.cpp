#include "ui/editor_launch.h"

#include "machine/disk_system.h"
#include "platform/process.h"

namespace disk {

std::string EditorCommandLine(const char* editor, const char* image) {
  return std::string("\"") + editor + "\" \"" + image + "\" /S";
}

void LaunchEditor(int row) {
  if (row < 2 || row >= kImageCount) return;
  DiskSystem& system = TheDiskSystem();
  DiskSettings settings(system.settings.iniPath);
  settings.Load();
  // The panel's thread waits for the editor: the image stays untouched by the emulation meanwhile.
  platform::RunProcessAndWait(
      EditorCommandLine(settings.EditorPath(), system.settings.imagePaths[row]).c_str());
}

}  // namespace disk
