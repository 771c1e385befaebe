// Shows the module's status panel (four rows filled) or one of its dialogs inside a host window,
// so that a person (or scripts/screenshots.sh) can look at them. Windows only.
//   panel_preview panel|image-setting|new-fd|new-hd|disk-setting
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "reference_host.h"

namespace {

// "ゲームディスク１" in the Japanese code page, as an MFD comment stores it.
constexpr char kJapaneseComment[] =
    "\x83\x51\x81\x5B\x83\x80\x83\x66\x83\x42\x83\x58\x83\x4E\x82\x50";

void Write(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<char> Header(std::size_t size, const char* signature, const char* comment) {
  std::vector<char> bytes(size, 0);
  std::strcpy(bytes.data(), signature);
  std::strcpy(bytes.data() + 16, comment);
  return bytes;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "panel";
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  char folder[MAX_PATH];
  GetCurrentDirectoryA(sizeof folder, folder);
  std::string base = std::string(folder) + "\\preview-";
  Write(base + "game.mfd", Header(68112, "ZEBFDDIMAGE.R0", kJapaneseComment));
  Write(base + "system.mhd", Header(512, "ZEBHDDIMAGE.R0", "MS-DOS 6.2 & Tools"));
  std::vector<char> d88(4096, 0);
  std::strcpy(d88.data(), "DATA DISK");
  d88[28] = 0x00;
  d88[29] = 0x10;  // 4096 bytes: the stated size is right
  Write(base + "data.d88", d88);
  bool full = mode == "panel" || mode == "image-setting" || mode == "disk-setting";
  std::string ini = base + "host.ini";
  std::ofstream(ini) << "[DISK]\nDISK00=" << base << "game.mfd\n"
                     << "blnImage01=" << (full ? "0" : "1") << "\nszFdd01=B\nbyType01=1\n"
                     << "DISK02=" << base << "system.mhd\n"
                     << "DISK03=" << (full ? base + "data.d88" : "") << "\n";

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "PreviewHost";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("PreviewHost", "disk.mhw", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                              560, 360, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);

  mhwhost::ReferenceHost host;
  host.mainWindow = window;
  if (!host.Attach("disk.mhw", ini)) return 1;
  HWND panel = static_cast<HWND>(host.panelWindow);
  if (panel == nullptr) return 2;
  ShowWindow(panel, SW_SHOW);
  if (mode == "panel") {
    // The real drive set, and a lamp lit.
    SendMessageA(panel, WM_COMMAND, 1002, 0);
    SendDlgItemMessageA(
        panel, 1013, STM_SETIMAGE, IMAGE_BITMAP,
        reinterpret_cast<LPARAM>(LoadImageA(GetModuleHandleA("disk.mhw"), MAKEINTRESOURCEA(103),
                                            IMAGE_BITMAP, 0, 0, LR_SHARED)));
  } else if (mode == "image-setting") {
    PostMessageA(panel, WM_COMMAND, 1017, 0);
  } else if (mode == "new-fd") {
    PostMessageA(panel, WM_COMMAND, 1018, 0);
  } else if (mode == "new-hd") {
    PostMessageA(panel, WM_COMMAND, 1021, 0);
  } else if (mode == "disk-setting") {
    host.module().deviceConfig(window);
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
