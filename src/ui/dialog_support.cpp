#include "machine/disk_system.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/file_names.h"

namespace disk {
namespace {

// Shows the dialog while the root object's dialog state points at its object.
template <class Dialog>
void RunModal(ControlSurface& owner, int templateId, int row, void* DiskSystem::*state) {
  Dialog dialog(row);
  DiskSystem& system = TheDiskSystem();
  system.*state = &dialog;
  owner.RunDialog(templateId, dialog);
  system.*state = nullptr;
}

}  // namespace

void DialogPresenter::OnClose(ControlSurface& dialog) {
  dialog.EndDialog(1);
}

void ShowProgress(ControlSurface& dialog, int id, int done, int total, int messages) {
  dialog.SetProgress(id, ProgressPercent(done, total));
  dialog.PumpMessages(messages);
}

bool AskNewImageName(ControlSurface& dialog, const char* filter, const char* folder,
                     const char* extension, char* fileName) {
  FileDialogRequest request;
  request.save = true;
  request.filter = filter;
  request.initialFolder = folder;
  request.fileName = fileName;
  request.confirmOverwrite = true;
  if (!dialog.ShowFileDialog(request)) return false;
  AddDefaultExtension(fileName, kPathSize, extension);
  return true;
}

void RunImageSettingDialog(ControlSurface& owner, int row) {
  RunModal<ImageSettingDialog>(owner, IDD_IMAGE_SETTING, row, &DiskSystem::imageSettingDialog);
}

void RunNewFloppyImageDialog(ControlSurface& owner, int row) {
  RunModal<NewFloppyImageDialog>(owner, IDD_NEW_FLOPPY, row, &DiskSystem::newFloppyDialog);
}

void RunNewHardDiskImageDialog(ControlSurface& owner, int row) {
  RunModal<NewHardDiskImageDialog>(owner, IDD_NEW_HARD_DISK, row, &DiskSystem::newHardDiskDialog);
}

}  // namespace disk
