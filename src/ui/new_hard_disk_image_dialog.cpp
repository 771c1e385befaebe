#include <cstdio>

#include "machine/disk_system.h"
#include "media/new_hard_disk_image.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"

namespace disk {
namespace {
constexpr int kHardDiskProgressMessages = 2;
}

void NewHardDiskImageDialog::OnInit(ControlSurface& dialog) {
  sizeMB = 80;
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(sizeMB));
  dialog.SetText(IDC_NEW_SIZE, text);
  dialog.SetProgressRange(IDC_NEW_HD_PROGRESS, 0, 100);
}

void NewHardDiskImageDialog::OnCommand(ControlSurface& dialog, int id) {
  if (id == IDC_NEW_START) {
    for (int control : {IDC_NEW_SIZE, IDC_NEW_START, IDC_NEW_CANCEL, IDC_NEW_GROUP})
      dialog.Enable(control, false);
    char text[256];
    dialog.GetText(IDC_NEW_SIZE, text, sizeof text);
    int value = 0;
    if (std::sscanf(text, "%d", &value) == 1) sizeMB = static_cast<std::uint32_t>(value);
    CreateImage(dialog);
    dialog.EndDialog(1);
  } else if (id == IDC_NEW_CANCEL) {
    dialog.EndDialog(1);
  }
}

void NewHardDiskImageDialog::CreateImage(ControlSurface& dialog) {
  DiskSettings settings(system.settings.iniPath);
  settings.Load();
  char fileName[platform::kPathSize] = {};
  if (!AskNewImageName(dialog, "HD IMAGE(*.MHD)\0*.MHD\0", settings.lastPathHdd, ".MHD", fileName))
    return;
  ImageResult result = CreateHardDiskImage(fileName, sizeMB, [&dialog](int done, int total) {
    ShowProgress(dialog, IDC_NEW_HD_PROGRESS, done, total, kHardDiskProgressMessages);
  });
  // Failures end silently; the row keeps its path.
  if (result == ImageResult::kDone)
    platform::CopyString(system.settings.imagePaths[row], fileName, platform::kPathSize);
}

}  // namespace disk
