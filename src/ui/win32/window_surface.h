// The control surface over a real dialog window.
#pragma once

#include <windows.h>

#include "ui/control_surface.h"

namespace disk {
class StatusPanel;
}  // namespace disk

namespace disk::win32 {

// Private messages of the status panel: lamp timers asked for by another thread.
inline constexpr UINT kStartTimerMessage = WM_APP + 1;  // wParam id, lParam milliseconds
inline constexpr UINT kStopTimerMessage = WM_APP + 2;   // wParam id

class WindowSurface : public ControlSurface {
 public:
  // `panel`: the status panel whose window this is, which lends its lamp bitmaps and the host's
  // main window for file dialogs it owns by that window.
  explicit WindowSurface(HWND window, DialogPresenter* presenter = nullptr,
                         const StatusPanel* panel = nullptr)
      : window_(window), presenter_(presenter), panel_(panel) {}

  HWND window() const { return window_; }
  DialogPresenter* presenter() const { return presenter_; }

  void SetText(int id, const char* text) override;
  void GetText(int id, char* buffer, int size) override;
  void Enable(int id, bool enabled) override;
  void SetCheck(int id, bool checked) override;
  bool IsChecked(int id) override;
  void AddListItem(int id, const char* text) override;
  void SelectListItem(int id, int index) override;
  int SelectedListItem(int id) override;
  void SetProgressRange(int id, int low, int high) override;
  void SetProgress(int id, int value) override;
  void PumpMessages(int count) override;
  bool ShowMessage(const char* text, const char* caption, MessageKind kind) override;
  bool ShowFileDialog(FileDialogRequest& request) override;
  int RunDialog(int templateId, DialogPresenter& presenter) override;
  void EndDialog(int result) override;
  void SendCommand(int id) override;
  void StartTimer(int id, int milliseconds) override;
  void StopTimer(int id) override;
  void PostLamp(int id, bool on) override;
  void SetCursorFree(bool free) override;

 private:
  HWND window_;
  DialogPresenter* presenter_;
  const StatusPanel* panel_;
};

// Shows a dialog template of the module modally, its procedure forwarding to the presenter.
int RunPresenterDialog(HWND owner, int templateId, DialogPresenter& presenter);
HINSTANCE ModuleHandle();

}  // namespace disk::win32
