// The status panel window inside the host's main window, and the disk setting dialog.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "machine/disk_system.h"
#include "platform/module_events.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/panel_controls.h"
#include "ui/status_panel.h"
#include "ui/user_interface.h"
#include "ui/win32/window_surface.h"

namespace disk {
namespace {

constexpr UINT kRegisterModuleMessage = 0x1307;
HWND gPanelWindow = nullptr;
win32::WindowSurface* gPanelSurface = nullptr;

// The image-path buttons: dropped files go to the row, everything else to the button itself.
LRESULT CALLBACK DropHandler(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  int id = GetDlgCtrlID(button);
  int row =
      id >= panel::ImageButton(0) && id <= panel::ImageButton(3) ? id - panel::ImageButton(0) : 0;
  if (message != WM_DROPFILES)
    return CallWindowProcA(reinterpret_cast<WNDPROC>(ThePanelState().buttonProc[row]), button,
                           message, wParam, lParam);
  char name[platform::kPathSize] = {};
  auto drop = reinterpret_cast<HDROP>(wParam);
  DragQueryFileA(drop, 0, name, platform::kPathSize);
  DragFinish(drop);
  DropImage(id, name);
  return 0;
}

INT_PTR CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      gPanelWindow = window;
      gPanelSurface = new win32::WindowSurface(window);
      PanelState& state = ThePanelState();
      state.lampOn = LoadImageA(win32::ModuleHandle(), MAKEINTRESOURCEA(IDB_LAMP_ON), IMAGE_BITMAP,
                                0, 0, LR_SHARED);
      state.lampOff = LoadImageA(win32::ModuleHandle(), MAKEINTRESOURCEA(IDB_LAMP_OFF),
                                 IMAGE_BITMAP, 0, 0, LR_SHARED);
      PanelInit(*gPanelSurface);
      return TRUE;
    }
    case WM_COMMAND:
      return PanelCommand(LOWORD(wParam)) ? TRUE : FALSE;
    case WM_TIMER:
      PanelTimer(static_cast<int>(wParam));
      return TRUE;
    case win32::kStartTimerMessage:
      SetTimer(window, wParam, static_cast<UINT>(lParam), nullptr);
      return TRUE;
    case win32::kStopTimerMessage:
      KillTimer(window, wParam);
      return TRUE;
    case WM_DESTROY:
      PanelDestroyed();
      delete gPanelSurface;
      gPanelSurface = nullptr;
      gPanelWindow = nullptr;
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void* CreateStatusPanel(void* hostWindow, MhwWord value) {
  ForgetHostDisplayModes();
  static const char kName[] = "DISK";
  MhwWord record[7] = {1, 0, 0, reinterpret_cast<MhwWord>(kName), 0, 0, 0};
  SendMessageA(static_cast<HWND>(hostWindow), kRegisterModuleMessage, static_cast<WPARAM>(value),
               reinterpret_cast<LPARAM>(record));
  HWND created = CreateDialogParamA(win32::ModuleHandle(), MAKEINTRESOURCEA(IDD_STATUS_PANEL),
                                    static_cast<HWND>(hostWindow), PanelProc, 0);
  if (created == nullptr) return nullptr;
  for (int row = 0; row < panel::kRows; ++row) {
    HWND button = GetDlgItem(created, panel::ImageButton(row));
    ThePanelState().buttonProc[row] = static_cast<MhwWord>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DropHandler)));
  }
  return created;
}

void ShowDiskSettingDialog(void* parentWindow) {
  DiskSettingDialog dialog(parentWindow);
  win32::RunPresenterDialog(static_cast<HWND>(parentWindow), IDD_DISK_SETTING, dialog);
  ApplyRealDriveSettings();
}

}  // namespace disk

namespace platform {

void OnModuleUnload() {
  if (disk::gPanelWindow != nullptr && IsWindow(disk::gPanelWindow))
    DestroyWindow(disk::gPanelWindow);
}

}  // namespace platform
