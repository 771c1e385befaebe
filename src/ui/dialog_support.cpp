#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/file_names.h"

namespace disk {
namespace {

template <class Dialog>
void RunModal(DiskSystem& system, ControlSurface& owner, int templateId, int row) {
  Dialog dialog(system, row);
  owner.RunDialog(templateId, dialog);
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
  AddDefaultExtension(fileName, platform::kPathSize, extension);
  return true;
}

void RunImageSettingDialog(DiskSystem& system, ControlSurface& owner, int row) {
  RunModal<ImageSettingDialog>(system, owner, IDD_IMAGE_SETTING, row);
}

void RunNewFloppyImageDialog(DiskSystem& system, ControlSurface& owner, int row) {
  RunModal<NewFloppyImageDialog>(system, owner, IDD_NEW_FLOPPY, row);
}

void RunNewHardDiskImageDialog(DiskSystem& system, ControlSurface& owner, int row) {
  RunModal<NewHardDiskImageDialog>(system, owner, IDD_NEW_HARD_DISK, row);
}

}  // namespace disk
