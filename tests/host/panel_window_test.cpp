// The status panel and the disk setting dialog as real windows (Windows, or Wine with a display):
// the host window gets the panel from FastGUI, and the test reads and drives its controls through
// the window API as a user's clicks and drops would.
#if defined(_WIN32)
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/module_fixture.h"

namespace {

using namespace testing_support;

struct Registered {
  WPARAM value = 0;
  std::string name;
  int calls = 0;
} gRegistered;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 0x1307) {
    auto* record = reinterpret_cast<const MhwWord*>(lParam);
    gRegistered.value = wParam;
    gRegistered.name = record[0] == 1 ? reinterpret_cast<const char*>(record[3]) : "";
    ++gRegistered.calls;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeHostWindow() {
  static bool registered = false;
  if (!registered) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "DiskTestHost";
    RegisterClassA(&windowClass);
    registered = true;
  }
  return CreateWindowA("DiskTestHost", "host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400, nullptr,
                       nullptr, GetModuleHandleA(nullptr), nullptr);
}

Bytes Mfd(const std::string& comment) {
  DiskSpec disk;
  disk.comment = comment;
  return BuildR0(disk);
}

Bytes Mhd(const std::string& comment) {
  return MhdImage(2, 8, 16, 512, Bytes(131072), comment);
}

class PanelWindowTest : public testing_support::ModuleTest {
 protected:
  void Configure(mhwhost::ReferenceHost& h) override {
    hostWindow = MakeHostWindow();
    h.mainWindow = hostWindow;
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
  bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(Panel(), id)) != FALSE; }
  void Press(int id) const {
    SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Panel(), id)));
  }
  // What the shell hands a window when a file is dropped on it.
  void Drop(int id, const std::string& path) const {
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop + 1), path.c_str(), path.size() + 1);
    GlobalUnlock(memory);
    SendMessageA(GetDlgItem(Panel(), id), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  }

  HWND hostWindow = nullptr;
};

// What the rows show is the panel logic's (see the status panel tests); here, that it reaches
// the window's controls, and that the buttons and menu items reach the logic.
TEST_F(PanelWindowTest, FastGuiBuildsThePanelAndRefreshShowsTheRows) {
  const std::string mfd = dir.File("RD.MFD"), hd = dir.File("HD.MHD");
  WriteAll(mfd, Mfd("R&D"));
  WriteAll(hd, Mhd(""));
  gRegistered = {};
  Attach("[DISK]\nDISK00=" + mfd + "\nblnImage01=0\nszFdd01=B\nbyType01=1\nDISK02=" + hd + "\n");
  ASSERT_NE(Panel(), nullptr);
  EXPECT_EQ(GetParent(Panel()), hostWindow);
  EXPECT_FALSE(IsWindowVisible(Panel()));  // the host shows it
  EXPECT_EQ(gRegistered.calls, 1);
  EXPECT_EQ(gRegistered.name, "DISK");
  EXPECT_EQ(Text(1005) + "|" + Text(1009) + "|" + Text(1006),
            "R&&D|" + mfd + "|FD Drive - B ( 1.44M )");
  EXPECT_EQ(Text(1007), "No Information");
  EXPECT_FALSE(Enabled(1010) || Enabled(1018));
  EXPECT_TRUE(Enabled(1003) && Enabled(1011));
  host->Startup();  // running: the hard-disk rows are fixed
  EXPECT_FALSE(Enabled(1003) || Enabled(1011));
  Press(1002);  // Set on the real drive
  EXPECT_EQ(Text(1002), "Eject");
  EXPECT_TRUE(Enabled(1018));
  host->menus[1].click();  // the FDD2 menu item presses the same button
  EXPECT_EQ(Text(1002), "Set");
  char label[16] = {};
  host->menus[1].label(label);
  EXPECT_STREQ(label, "Set   ");
}

TEST_F(PanelWindowTest, DroppedFileAndEjectChangeTheRow) {
  std::string mfd = dir.File("DROP.MFD");
  WriteAll(mfd, Mfd("Dropped"));
  Attach();
  EXPECT_EQ(Text(1017), "New");
  EXPECT_FALSE(Enabled(1001));
  Drop(1009, mfd);
  EXPECT_EQ(Text(1009), mfd);
  EXPECT_EQ(Text(1005), "Dropped");
  EXPECT_TRUE(Enabled(1001));
  Press(1001);
  EXPECT_EQ(Text(1009), "");
  EXPECT_EQ(Text(1005), "");
  // Closing the host window keeps the paths in the INI file.
  Drop(1011, mfd);
  DestroyWindow(hostWindow);
  hostWindow = nullptr;
  EXPECT_NE(testing_support::ReadText(ini).find("DISK02=" + mfd), std::string::npos);
}

// Lets the panel's posted messages and timers run until `done` holds or two seconds pass.
template <class Done>
bool PumpUntil(Done done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
  return done();
}

// The red of the lamp bitmap's interior: 255 lit, 128 dark.
int LampRed(HWND panel, int id) {
  auto bitmap =
      reinterpret_cast<HBITMAP>(SendDlgItemMessageA(panel, id, STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 12, 7, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::uint32_t pixels[12 * 7] = {};
  HDC dc = GetDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, 7, pixels, &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  return lines == 7 ? static_cast<int>((pixels[3 * 12 + 5] >> 16) & 0xFF) : -1;
}

TEST_F(PanelWindowTest, HardDiskAccessFlashesItsLamp) {
  std::string hd = dir.File("LAMP.MHD");
  WriteAll(hd, Mhd("lamp"));
  Attach("[DISK]\nDISK03=" + hd + "\n");
  EXPECT_EQ(LampRed(Panel(), 1016), 128);
  host->Boot();
  EXPECT_EQ(host->DiskBios(mhwhost::BiosCall::Of(0x81, 0x06, 512, 0, 0)).code,
            mhw::kBiosCarryClear);
  // The bitmap change is posted; the lamp's timer switches it off again.
  EXPECT_TRUE(PumpUntil([&] { return LampRed(Panel(), 1016) == 255; }));
  EXPECT_TRUE(PumpUntil([&] { return LampRed(Panel(), 1016) == 128; }));
  EXPECT_EQ(LampRed(Panel(), 1015), 128);
}

// Drives the disk setting dialog from a timer of the modal loop.
struct SettingScript {
  bool found = false;
  std::string editor;
} gScript;

void CALLBACK DriveSettingDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA(nullptr, "DISK SETTING");
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  gScript.found = true;
  char editor[300] = {};
  GetDlgItemTextA(dialog, 1040, editor, sizeof editor);
  gScript.editor = editor;
  SendDlgItemMessageA(dialog, 1036, CB_SETCURSEL, 2, 0);  // "B"
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1036, CBN_SELCHANGE), 0);
  SendDlgItemMessageA(dialog, 1038, CB_SETCURSEL, 1, 0);  // "1.44M"
  CheckDlgButton(dialog, 1042, BST_CHECKED);
  SetDlgItemTextA(dialog, 1040, "C:\\DE\\editdisk.exe");
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
}

TEST_F(PanelWindowTest, DeviceConfigRunsModallyAndSavesTheIniFile) {
  Attach("[DISK]\nDISKEXPLORER=D:\\OLD\\editdisk.exe\n");
  gScript = {};
  SetTimer(nullptr, 0, 50, DriveSettingDialog);
  host->module().deviceConfig(hostWindow);
  EXPECT_TRUE(gScript.found);
  EXPECT_EQ(gScript.editor, "D:\\OLD\\editdisk.exe");
  std::string text = testing_support::ReadText(ini);
  for (const char* line :
       {"blnImage00=0", "szFdd00=B", "byType00=1", "FDWAIT=1", "DISKEXPLORER=C:\\DE\\editdisk.exe"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  // DeviceConfig hands the new drive to the panel.
  EXPECT_EQ(Text(1005), "FD Drive - B ( 1.44M )");
}

// Edits the label in IMAGE FILE SETTING: Enter must not close it, OK writes.
struct LabelScript {
  bool enterIgnored = false;
} gLabel;

void CALLBACK DriveImageSetting(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA(nullptr, "IMAGE FILE SETTING");
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  SetDlgItemTextA(dialog, 1019, "Edited");
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1024, BN_CLICKED), 0);
  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  gLabel.enterIgnored = IsWindow(dialog) && IsWindowVisible(dialog);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1025, BN_CLICKED), 0);
}

TEST_F(PanelWindowTest, ImageFileSettingWritesTheHeaderOnOk) {
  std::string mfd = dir.File("LABEL.MFD");
  auto before = Mfd("Old label");
  WriteAll(mfd, before);
  Attach("[DISK]\nDISK00=" + mfd + "\n");
  gLabel = {};
  SetTimer(nullptr, 0, 50, DriveImageSetting);
  Press(1017);  // Setting: the modal dialog runs inside the command
  EXPECT_TRUE(gLabel.enterIgnored);
  auto expected = before;
  std::memcpy(expected.data() + 16, "Edited", 7);
  expected[0x114] = 1;
  EXPECT_EQ(testing_support::ReadAll(mfd), expected);
  EXPECT_EQ(Text(1005), "Edited");
}

// Cancels the open-image dialog, the thread's one top-level dialog window besides the panel's.
void CALLBACK CancelOpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  const BOOL searched = EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM) -> BOOL {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return FALSE;  // found: stop
      },
      0);
  if (!searched) KillTimer(nullptr, timer);
}

TEST_F(PanelWindowTest, TheMouseStateIsAskedWithTheHostTable) {
  Attach();
  host->Boot();
  host->mouseCaptured = true;
  SetTimer(nullptr, 0, 200, CancelOpenDialog);
  Press(1009);  // the open-image dialog runs inside the command
  EXPECT_EQ(host->mouseQueries, std::vector<const MhwWord*>{host->table()});
}

}  // namespace
#endif
