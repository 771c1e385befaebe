#include "ui/fake_surface.h"

#include <cstring>

#include "machine/disk_settings.h"
#include "ui/status_panel.h"

namespace testing_support {

void FakeSurface::GetText(int id, char* buffer, int size) {
  platform::CopyString(buffer, controls[id].text.c_str(), size);
}

void FakeSurface::SelectListItem(int id, int index) {
  Control& list = controls[id];
  list.selected = index >= 0 && index < static_cast<int>(list.items.size()) ? index : -1;
}

bool FakeSurface::ShowMessage(const char* text, const char*, disk::MessageKind) {
  messages.push_back(text);
  return messageAnswer;
}

bool FakeSurface::ShowFileDialog(disk::FileDialogRequest& request) {
  std::string filter;
  for (const char* p = request.filter; *p != '\0'; p += std::strlen(p) + 1)
    filter += p + std::string(1, '\0');
  fileDialogs.push_back({request.save, filter, request.initialFolder ? request.initialFolder : "",
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
  if (onDialog) onDialog(templateId, presenter, dialog);
  messages.insert(messages.end(), dialog.messages.begin(), dialog.messages.end());
  return dialog.endResult;
}

void FakeSurface::SendCommand(int id) {
  if (statusPanel != nullptr) disk::PanelCommand(*statusPanel, id);
}

void FakeSurface::Advance(long milliseconds) {
  long end = now + milliseconds;
  for (;;) {
    auto next = timers.end();
    for (auto it = timers.begin(); it != timers.end(); ++it)
      if (it->second.due <= end && (next == timers.end() || it->second.due < next->second.due))
        next = it;
    if (next == timers.end()) break;
    now = next->second.due;
    int id = next->first;
    next->second.due += next->second.period;  // periodic until stopped
    if (statusPanel != nullptr) disk::PanelTimer(*statusPanel, id);
  }
  now = end;
}

}  // namespace testing_support
