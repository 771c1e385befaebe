// The narrow view the user interface logic has of a window: controls addressed by id, the dialogs
// and message boxes it owns, and (for the status panel) timers and the lamp bitmaps. The Windows
// side implements it over real windows; tests implement it in memory.
#pragma once

namespace disk {

class ControlSurface;

// The logic behind one modal dialog. The window side calls these from its dialog procedure.
class DialogPresenter {
 public:
  virtual ~DialogPresenter() = default;
  virtual void OnInit(ControlSurface& dialog) = 0;
  virtual void OnCommand(ControlSurface& dialog, int id) = 0;
  // The close message (the caption's close box, Alt+F4).
  virtual void OnClose(ControlSurface& dialog);
};

// Parameters of an open-file or save-file dialog. `filter` holds description/pattern pairs, each
// NUL-terminated, the list ended by an empty string.
struct FileDialogRequest {
  bool save = false;
  const char* filter = nullptr;
  const char* initialFolder = nullptr;  // null: none
  char* fileName = nullptr;             // 260 characters, in and out
  bool mustExist = false;
  bool confirmOverwrite = false;
  bool explorerWithHook = false;  // the open-image dialog: explorer style, hooked
  bool resizable = false;
  bool ownedByHostWindow = false;  // owned by the host's main window instead of this window
};

enum class MessageKind {
  kWarningOkCancel,  // exclamation icon, OK and Cancel
  kStop,             // stop icon, OK
};

class ControlSurface {
 public:
  virtual ~ControlSurface() = default;

  virtual void SetText(int id, const char* text) = 0;
  virtual void GetText(int id, char* buffer, int size) = 0;  // always terminated
  virtual void Enable(int id, bool enabled) = 0;
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool IsChecked(int id) = 0;
  virtual void AddListItem(int id, const char* text) = 0;
  virtual void SelectListItem(int id, int index) = 0;  // an index out of range selects nothing
  virtual int SelectedListItem(int id) = 0;            // -1 when nothing is selected
  virtual void SetProgressRange(int id, int low, int high) = 0;
  virtual void SetProgress(int id, int value) = 0;
  // Dispatches up to `count` messages already waiting for the thread, without waiting for more.
  virtual void PumpMessages(int count) = 0;

  // Message box owned by this window; true for OK.
  virtual bool ShowMessage(const char* text, const char* caption, MessageKind kind) = 0;
  // True when the user chose a file (its name is then in request.fileName).
  virtual bool ShowFileDialog(FileDialogRequest& request) = 0;
  // Shows a dialog template modally, owned by this window; returns its result.
  virtual int RunDialog(int templateId, DialogPresenter& presenter) = 0;
  virtual void EndDialog(int result) = 0;
  // Sends this window a command as if its control `id` had been pressed.
  virtual void SendCommand(int id) = 0;

  // Status panel: timers by id, the lamp bitmap of a static control (posted, never waited for),
  // and the cursor while a file dialog shows over a host that confines it. May be called from any
  // thread.
  virtual void StartTimer(int id, int milliseconds) = 0;
  virtual void StopTimer(int id) = 0;
  virtual void PostLamp(int id, bool on) = 0;
  virtual void SetCursorFree(bool free) = 0;
};

}  // namespace disk
