// The status panel and its dialogs as real windows (Windows, or Wine with a display), driven
// through the window API as a user's clicks and drops would.
#if defined(_WIN32)
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host/module_fixture.h"

namespace {

using namespace testing_support;

std::vector<std::string> gRegistered;  // the names of the modules that registered their panel

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* record = reinterpret_cast<const MhwWord*>(lParam);
  if (message != 0x1307) return DefWindowProcA(window, message, wParam, lParam);
  gRegistered.push_back(record[0] == 1 ? reinterpret_cast<const char*>(record[3]) : "");
  return 0;
}

// Runs `gScript` on the thread's dialog window as soon as a modal loop shows one.
std::function<void(HWND)> gScript;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  auto visibleDialog = [](HWND window, LPARAM found) -> BOOL {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  };
  EnumThreadWindows(GetCurrentThreadId(), visibleDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  gScript(dialog);
}

void ScriptNextDialog(std::function<void(HWND)> script) {
  gScript = std::move(script);
  SetTimer(nullptr, 0, 50, RunScript);
}

void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class PanelWindowTest : public ModuleTest {
 protected:
  void Configure(mhwhost::ReferenceHost& h) override {
    hostWindow = CreateWindowA("STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hostWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostWindowProc));
    h.mainWindow = hostWindow;
    h.provideDialogMode = true;
    h.dialogMode = dialogMode;
  }
  void TearDown() override {
    // The panel goes with its host window, before the module does; its quit message is drained.
    if (hostWindow != nullptr) DestroyWindow(hostWindow);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    ModuleTest::TearDown();
  }
  HWND Panel() const { return static_cast<HWND>(host->panelWindow); }
  std::string Text(int id) const {
    char text[300] = {};
    GetDlgItemTextA(Panel(), id, text, sizeof text);
    return text;
  }

  HWND hostWindow = nullptr;
  std::uint32_t dialogMode = 0;
};

TEST_F(PanelWindowTest, FastGuiBuildsThePanelWhoseDropsMenusAndDialogsWork) {
  const std::string mfd = ImageFile("TEST.MFD", BuildR0(DiskSpec{}));
  gRegistered.clear();
  Attach("[DISK]\nblnImage01=0\nszFdd01=B\nbyType01=1\n");
  ASSERT_NE(Panel(), nullptr);
  EXPECT_EQ(GetParent(Panel()), hostWindow);
  EXPECT_EQ(gRegistered, std::vector<std::string>{"DISK"});
  // What the shell hands a window when a file is dropped on it.
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + mfd.size() + 2);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(drop + 1), mfd.c_str(), mfd.size() + 1);
  GlobalUnlock(memory);
  SendMessageA(GetDlgItem(Panel(), 1009), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  EXPECT_EQ(Text(1009) + "|" + Text(1005), mfd + "|TEST DISK");
  Click(Panel(), 1002);  // Set on the real drive
  EXPECT_EQ(Text(1002), "Eject");
  host->menus[1].click();  // the FDD2 menu item presses the same button
  EXPECT_EQ(Text(1002), "Set");

  ScriptNextDialog([](HWND dialog) {
    SetDlgItemTextA(dialog, 1019, "Edited");
    Click(dialog, 1025);  // OK
  });
  Click(Panel(), 1017);             // Setting
  EXPECT_EQ(Text(1005), "Edited");  // in the header, and shown
  ScriptNextDialog([](HWND dialog) {
    SendDlgItemMessageA(dialog, 1036, CB_SETCURSEL, 2, 0);  // "B"
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1036, CBN_SELCHANGE), 0);
    SendDlgItemMessageA(dialog, 1038, CB_SETCURSEL, 1, 0);  // "1.44M"
    CheckDlgButton(dialog, 1042, BST_CHECKED);
    SetDlgItemTextA(dialog, 1040, "C:\\DE\\editdisk.exe");
    Click(dialog, 1);
  });
  host->module().deviceConfig(hostWindow);
  // Closing the host window keeps the image paths in the INI file.
  DestroyWindow(hostWindow);
  hostWindow = nullptr;
  const std::string text = ReadText(ini);
  EXPECT_NE(text.find("DISK00=" + mfd), std::string::npos);
  for (const char* line :
       {"blnImage00=0", "szFdd00=B", "byType00=1", "FDWAIT=1", "DISKEXPLORER=C:\\DE\\editdisk.exe"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
}

// In the host's dialog mode the open-image dialog belongs to the host window; the cursor the host
// captured is asked for with the host's table.
TEST_F(PanelWindowTest, OpenImageDialogInTheHostDialogMode) {
  dialogMode = 1;
  Attach();
  host->Boot();
  host->mouseCaptured = true;
  HWND owner = nullptr;
  ScriptNextDialog([&](HWND dialog) {
    owner = GetWindow(dialog, GW_OWNER);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  Click(Panel(), 1009);  // the open-image dialog runs inside the command
  EXPECT_EQ(owner, hostWindow);
  EXPECT_EQ(host->mouseQueries, std::vector<const MhwWord*>{host->table()});
}

}  // namespace
#endif
