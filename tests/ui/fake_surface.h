// An in-memory window for the user interface logic: controls by id, scripted file dialogs,
// message boxes and modal dialogs, timers and lamps.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/file.h"
#include "ui/control_surface.h"

namespace testing_support {

class FakeSurface : public disk::ControlSurface {
 public:
  struct Control {
    std::string text;
    bool enabled = true;
    bool checked = false;
    std::vector<std::string> items;
    int selected = -1;
  };

  Control& operator[](int id) { return controls[id]; }

  void SetText(int id, const char* text) override { controls[id].text = text; }
  void GetText(int id, char* buffer, int size) override {
    platform::CopyString(buffer, controls[id].text.c_str(), size);
  }
  void Enable(int id, bool enabled) override { controls[id].enabled = enabled; }
  void SetCheck(int id, bool checked) override { controls[id].checked = checked; }
  bool IsChecked(int id) override { return controls[id].checked; }
  void AddListItem(int id, const char* text) override { controls[id].items.push_back(text); }
  void SelectListItem(int id, int index) override {
    const bool listed = index >= 0 && index < static_cast<int>(controls[id].items.size());
    controls[id].selected = listed ? index : -1;
  }
  int SelectedListItem(int id) override { return controls[id].selected; }
  void SetProgressRange(int, int, int) override {}
  void SetProgress(int, int) override {}
  void PumpMessages(int count) override { pumped += count; }
  bool ShowMessage(const char* text, const char*, disk::MessageKind) override {
    messages.push_back(text);
    return messageAnswer;
  }
  bool ShowFileDialog(disk::FileDialogRequest& request) override {
    fileDialogs.push_back(std::string(request.save ? "save " : "open ") + request.filter + " in " +
                          (request.initialFolder ? request.initialFolder : "") +
                          (request.ownedByHostWindow ? ", owned by the host" : ""));
    return onFileDialog ? onFileDialog(request) : false;
  }
  int RunDialog(int templateId, disk::DialogPresenter& presenter) override {
    dialogsRun.push_back(templateId);
    FakeSurface dialog;
    dialog.onFileDialog = onFileDialog;
    dialog.messageAnswer = messageAnswer;
    presenter.OnInit(dialog);
    if (onDialog) onDialog(presenter, dialog);
    return dialog.endResult;
  }
  void EndDialog(int result) override { endResult = result; }
  void SendCommand(int) override {}  // the host's menu items, which these tests leave alone
  void StartTimer(int, int) override {}
  void StopTimer(int) override {}
  void PostLamp(int id, bool on) override { lamps[id] = on; }
  void SetCursorFree(bool free) override { cursorLog.push_back(free); }

  // Scripts: the answer of file dialogs and message boxes, and what a modal dialog does once it
  // has been initialised.
  std::function<bool(disk::FileDialogRequest&)> onFileDialog;
  std::function<void(disk::DialogPresenter&, FakeSurface& dialog)> onDialog;
  bool messageAnswer = true;
  // Answers the next file dialogs with `name`, or cancels them when `name` is empty.
  void ChooseFile(const std::string& name) {
    onFileDialog = [name](disk::FileDialogRequest& request) {
      platform::CopyString(request.fileName, name.c_str(), platform::kPathSize);
      return !name.empty();
    };
  }

  std::map<int, Control> controls;
  std::vector<std::string> fileDialogs;  // save or open, the first description, the folder, owner
  std::vector<std::string> messages;
  std::vector<int> dialogsRun;
  int endResult = -1;
  int pumped = 0;
  std::map<int, bool> lamps;
  std::vector<bool> cursorLog;
};

}  // namespace testing_support
