#include "ui/fake_surface.h"

namespace testing_support {

bool FakeSurface::ShowFileDialog(disk::FileDialogRequest& request) {
  fileDialogs.push_back({request.save, request.filter,
                         request.initialFolder ? request.initialFolder : "",
                         request.ownedByHostWindow});
  return onFileDialog ? onFileDialog(request) : false;
}

void FakeSurface::ChooseFile(const std::string& name) {
  onFileDialog = [name](disk::FileDialogRequest& request) {
    if (name.empty()) return false;
    platform::CopyString(request.fileName, name.c_str(), platform::kPathSize);
    return true;
  };
}

int FakeSurface::RunDialog(int templateId, disk::DialogPresenter& presenter) {
  dialogsRun.push_back(templateId);
  FakeSurface dialog;
  dialog.onFileDialog = onFileDialog;
  dialog.messageAnswer = messageAnswer;
  presenter.OnInit(dialog);
  if (onDialog) onDialog(presenter, dialog);
  return dialog.endResult;
}

}  // namespace testing_support
