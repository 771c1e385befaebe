// The status panel window inside the host's main window, and the disk setting dialog. The panel
// window keeps its StatusPanel in its DWLP_USER word, where its procedure and the image-path
// buttons' find it.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "machine/disk_system.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/panel_controls.h"
#include "ui/status_panel.h"
#include "ui/user_interface.h"
#include "ui/win32/window_surface.h"

namespace disk {
namespace {

constexpr UINT kRegisterModuleMessage = 0x1307;

StatusPanel* PanelOf(HWND window) {
  return reinterpret_cast<StatusPanel*>(GetWindowLongPtrA(window, DWLP_USER));
}

// The image-path buttons: dropped files go to the row, everything else to the button itself.
LRESULT CALLBACK DropHandler(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  StatusPanel& panel = *PanelOf(GetParent(button));
  int id = GetDlgCtrlID(button);
  int row =
      id >= panel::ImageButton(0) && id <= panel::ImageButton(3) ? id - panel::ImageButton(0) : 0;
  if (message != WM_DROPFILES)
    return CallWindowProcA(reinterpret_cast<WNDPROC>(panel.buttonProc[row]), button, message,
                           wParam, lParam);
  char name[platform::kPathSize] = {};
  auto drop = reinterpret_cast<HDROP>(wParam);
  DragQueryFileA(drop, 0, name, platform::kPathSize);
  DragFinish(drop);
  DropImage(panel, id, name);
  return 0;
}

INT_PTR CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* panel = reinterpret_cast<StatusPanel*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    panel->window = window;
    panel->lampOn = LoadImageA(win32::ModuleHandle(), MAKEINTRESOURCEA(IDB_LAMP_ON), IMAGE_BITMAP,
                               0, 0, LR_SHARED);
    panel->lampOff = LoadImageA(win32::ModuleHandle(), MAKEINTRESOURCEA(IDB_LAMP_OFF), IMAGE_BITMAP,
                                0, 0, LR_SHARED);
    PanelInit(*panel, *new win32::WindowSurface(window, nullptr, panel));
    return TRUE;
  }
  StatusPanel* panel = PanelOf(window);
  if (panel == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return PanelCommand(*panel, LOWORD(wParam)) ? TRUE : FALSE;
    case WM_TIMER:
      PanelTimer(*panel, static_cast<int>(wParam));
      return TRUE;
    case win32::kStartTimerMessage:
      SetTimer(window, wParam, static_cast<UINT>(lParam), nullptr);
      return TRUE;
    case win32::kStopTimerMessage:
      KillTimer(window, wParam);
      return TRUE;
    case WM_DESTROY: {
      ControlSurface* surface = panel->surface.load();
      PanelDestroyed(*panel);
      delete surface;
      panel->window = nullptr;
      PostQuitMessage(0);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

void* CreateStatusPanel(StatusPanel& panel, void* hostWindow, MhwWord value) {
  static const char kName[] = "DISK";
  MhwWord record[7] = {1, 0, 0, reinterpret_cast<MhwWord>(kName), 0, 0, 0};
  SendMessageA(static_cast<HWND>(hostWindow), kRegisterModuleMessage, static_cast<WPARAM>(value),
               reinterpret_cast<LPARAM>(record));
  HWND created = CreateDialogParamA(win32::ModuleHandle(), MAKEINTRESOURCEA(IDD_STATUS_PANEL),
                                    static_cast<HWND>(hostWindow), PanelProc,
                                    reinterpret_cast<LPARAM>(&panel));
  if (created == nullptr) return nullptr;
  for (int row = 0; row < panel::kRows; ++row) {
    HWND button = GetDlgItem(created, panel::ImageButton(row));
    panel.buttonProc[row] = static_cast<MhwWord>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DropHandler)));
  }
  return created;
}

void ShowDiskSettingDialog(StatusPanel& panel, void* parentWindow) {
  DiskSettingDialog dialog(panel.system, parentWindow);
  win32::RunPresenterDialog(static_cast<HWND>(parentWindow), IDD_DISK_SETTING, dialog);
  ApplyRealDriveSettings(panel);
}

void ClosePanelWindow(StatusPanel& panel) {
  auto window = static_cast<HWND>(panel.window);
  if (window != nullptr && IsWindow(window)) DestroyWindow(window);
}

}  // namespace disk
