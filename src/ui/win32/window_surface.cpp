#include "ui/win32/window_surface.h"

#include <commctrl.h>
#include <commdlg.h>

#include "machine/disk_settings.h"
#include "machine/disk_system.h"
#include "platform/system.h"
#include "ui/image_selection.h"
#include "ui/status_panel.h"

namespace disk::win32 {
namespace {

bool OnWindowThread(HWND window) {
  return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

// The open-image dialog's hook: in the host's dialog mode the dialog goes to the top-left corner.
// The dialog's custom data are the other modules' tables that tell the mode.
UINT_PTR CALLBACK OpenImageHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return 0;
  const auto* links =
      reinterpret_cast<const ModuleLinks*>(reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData);
  if (links != nullptr && HostDialogModeOn(*links)) {
    // With the explorer style the hook is a child of the dialog the user sees.
    HWND dialog = GetParent(hook) != nullptr ? GetParent(hook) : hook;
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 1;
}

INT_PTR CALLBACK PresenterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* surface = reinterpret_cast<WindowSurface*>(GetWindowLongPtrA(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      surface = new WindowSurface(window, reinterpret_cast<DialogPresenter*>(lParam));
      SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(surface));
      surface->presenter()->OnInit(*surface);
      return TRUE;
    case WM_COMMAND:
      if (surface == nullptr) return FALSE;
      surface->presenter()->OnCommand(*surface, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      if (surface == nullptr) return FALSE;
      surface->presenter()->OnClose(*surface);
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, DWLP_USER, 0);
      delete surface;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HINSTANCE ModuleHandle() {
  return static_cast<HINSTANCE>(platform::ModuleInstance());
}

int RunPresenterDialog(HWND owner, int templateId, DialogPresenter& presenter) {
  return static_cast<int>(DialogBoxParamA(ModuleHandle(), MAKEINTRESOURCEA(templateId), owner,
                                          PresenterProc, reinterpret_cast<LPARAM>(&presenter)));
}

void WindowSurface::SetText(int id, const char* text) {
  SetDlgItemTextA(window_, id, text);
}

void WindowSurface::GetText(int id, char* buffer, int size) {
  if (size <= 0) return;
  buffer[0] = '\0';
  GetDlgItemTextA(window_, id, buffer, size);
}

void WindowSurface::Enable(int id, bool enabled) {
  EnableWindow(GetDlgItem(window_, id), enabled ? TRUE : FALSE);
}

void WindowSurface::SetCheck(int id, bool checked) {
  CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool WindowSurface::IsChecked(int id) {
  return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void WindowSurface::AddListItem(int id, const char* text) {
  SendDlgItemMessageA(window_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void WindowSurface::SelectListItem(int id, int index) {
  SendDlgItemMessageA(window_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int WindowSurface::SelectedListItem(int id) {
  return static_cast<int>(SendDlgItemMessageA(window_, id, CB_GETCURSEL, 0, 0));
}

void WindowSurface::SetProgressRange(int id, int low, int high) {
  SendDlgItemMessageA(window_, id, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

void WindowSurface::SetProgress(int id, int value) {
  SendDlgItemMessageA(window_, id, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void WindowSurface::PumpMessages(int count) {
  MSG message;
  for (int i = 0; i < count && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      // The host's loop ends on it: leave it for the loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool WindowSurface::ShowMessage(const char* text, const char* caption, MessageKind kind) {
  UINT style = kind == MessageKind::kWarningOkCancel ? MB_OKCANCEL | MB_ICONEXCLAMATION
                                                     : MB_OK | MB_ICONSTOP;
  return MessageBoxA(window_, text, caption, style) == IDOK;
}

bool WindowSurface::ShowFileDialog(FileDialogRequest& request) {
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  if (request.ownedByHostWindow && panel_ != nullptr) {
    MhwWord* record = panel_->system.hostLink.hostWindowRecord;
    if (record != nullptr) dialog.hwndOwner = reinterpret_cast<HWND>(record[mhw::kMainWindowWord]);
  }
  dialog.hInstance = ModuleHandle();
  dialog.lpstrFilter = request.filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = request.fileName;
  dialog.nMaxFile = platform::kPathSize;
  dialog.lpstrInitialDir = request.initialFolder != nullptr && request.initialFolder[0] != '\0'
                               ? request.initialFolder
                               : nullptr;
  dialog.Flags = OFN_HIDEREADONLY;
  if (request.mustExist) dialog.Flags |= OFN_FILEMUSTEXIST;
  if (request.confirmOverwrite) dialog.Flags |= OFN_OVERWRITEPROMPT;
  if (request.resizable) dialog.Flags |= OFN_ENABLESIZING;
  if (request.explorerWithHook) {
    dialog.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
    dialog.lpfnHook = OpenImageHook;
    if (panel_ != nullptr) dialog.lCustData = reinterpret_cast<LPARAM>(&panel_->system.links);
  }
  return (request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)) != FALSE;
}

int WindowSurface::RunDialog(int templateId, DialogPresenter& presenter) {
  return RunPresenterDialog(window_, templateId, presenter);
}

void WindowSurface::EndDialog(int result) {
  ::EndDialog(window_, result);
}

void WindowSurface::SendCommand(int id) {
  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
}

// A timer belongs to the thread of its window: other threads ask the panel to set it.
void WindowSurface::StartTimer(int id, int milliseconds) {
  if (OnWindowThread(window_))
    SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
  else
    PostMessageA(window_, kStartTimerMessage, static_cast<WPARAM>(id), milliseconds);
}

void WindowSurface::StopTimer(int id) {
  if (OnWindowThread(window_))
    KillTimer(window_, static_cast<UINT_PTR>(id));
  else
    PostMessageA(window_, kStopTimerMessage, static_cast<WPARAM>(id), 0);
}

void WindowSurface::PostLamp(int id, bool on) {
  if (panel_ == nullptr) return;
  PostMessageA(GetDlgItem(window_, id), STM_SETIMAGE, IMAGE_BITMAP,
               reinterpret_cast<LPARAM>(on ? panel_->lampOn : panel_->lampOff));
}

void WindowSurface::SetCursorFree(bool free) {
  if (free) {
    ClipCursor(nullptr);
    ShowCursor(TRUE);
  } else {
    ShowCursor(FALSE);
  }
}

}  // namespace disk::win32
