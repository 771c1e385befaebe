#include "ui/image_selection.h"

#include <cstring>

#include "machine/disk_settings.h"
#include "machine/disk_system.h"
#include "machine/media_change.h"
#include "platform/process.h"
#include "ui/control_surface.h"
#include "ui/dialogs.h"
#include "ui/file_names.h"
#include "ui/panel_controls.h"
#include "ui/status_panel.h"

namespace disk {

using namespace panel;

namespace {

// The pattern lists stand as users know them, the repeated *.HDB and the leading ';' included.
constexpr char kFloppyFilter[] =
    "ALL SUPPORTED FD IMAGE\0"
    "*.MFD;*.ZFD;*.D88;*.D98;*.HDM;*.HD4;*.HD5;*.HD9;*.DD6;*.DD9;*.HDB;*.DDB;*.HDB;*.H01;*.XDF;"
    "*.DUP;*.FLP;*.FDI\0"
    "MARLIN FD IMAGE\0*.MFD\0"
    "ZEB FD IMAGE\0*.ZFD\0"
    "D88 FD IMAGE\0*.D88;*.D98\0"
    "ANEX86 FD IMAGE\0*.FDI\0"
    "ETC FD IMAGE\0;*.HDM;*.HD4;*.HD5;*.HD9;*.DD6;*.DD9;*.HDB;*.DDB;*.HDB;*.H01;*.XDF;*.DUP;*.FLP\0"
    "ALL FILES\0*.*\0";
constexpr char kHardDiskFilter[] =
    "ALL SUPPORTED HD IMAGE\0*.MHD;*.ZHD;*.HDI\0"
    "MARLIN HD IMAGE\0*.MHD\0"
    "ZEB HD IMAGE\0*.ZHD\0"
    "ANEX86 HD IMAGE\0*.HDI\0"
    "ALL FILES\0*.*\0";

std::uint32_t* DisplayModeFlag(const ModuleLinks& links) {
  MhwWord function = links.displayMode[0];
  return function != 0 ? reinterpret_cast<MhwDialogModePointer>(function)() : nullptr;
}

bool DialogModeFlag(const ModuleLinks& links) {
  MhwWord function = links.dialogMode[0];
  return function != 0 && reinterpret_cast<MhwDialogModeFlag>(function)() == 1;
}

// Whether the host has captured the mouse: bit 1 of what its mouse record's function answers
// when given the host's table.
bool MouseCaptured(const HostLink& hostLink) {
  MhwWord* host = hostLink.host;
  if (host == nullptr || host[mhw::kSlotMouseRecord] == 0) return false;
  auto* record = reinterpret_cast<MhwWord*>(host[mhw::kSlotMouseRecord]);
  if (record[0] == 0) return false;
  return (reinterpret_cast<MhwMouseState>(record[0])(host) & 2) != 0;
}

// Keeps the image, reopens the dialog on it, and mounts it again afterwards if needed.
void ShowImageSetting(DiskSystem& system, ControlSurface& panelSurface, int row) {
  char kept[platform::kPathSize];
  platform::CopyString(kept, system.settings.imagePaths[row], platform::kPathSize);
  // A running floppy drive lets go of the file before its header changes.
  EjectMedium(system, row);
  platform::CopyString(system.settings.imagePaths[row], kept, platform::kPathSize);
  RunImageSettingDialog(system, panelSurface, row);
}

}  // namespace

const char* ImageFilter(int row) {
  return IsFloppyRow(row) ? kFloppyFilter : kHardDiskFilter;
}

bool HostDialogModeOn(const ModuleLinks& links) {
  if (std::uint32_t* flag = DisplayModeFlag(links)) return *flag != 0;
  return DialogModeFlag(links);
}

void NotifyHostDialogClosed(const ModuleLinks& links) {
  MhwWord notify = links.displayMode[2] != 0 ? links.displayMode[2] : links.dialogMode[1];
  if (notify != 0) reinterpret_cast<MhwDialogNotify>(notify)();
}

void OpenImageDialog(StatusPanel& panel, int row) {
  ControlSurface* panelSurface = panel.surface.load();
  if (panelSurface == nullptr) return;
  DiskSystem& system = panel.system;
  const ModuleLinks& links = system.links;
  bool running = system.running != 0;
  bool floppy = IsFloppyRow(row);

  FileDialogRequest request;
  std::uint32_t* displayFlag = nullptr;
  bool cursorFreed = false;
  if (running) {
    displayFlag = DisplayModeFlag(links);
    request.ownedByHostWindow = displayFlag != nullptr ? *displayFlag != 0 : DialogModeFlag(links);
    if (MouseCaptured(system.hostLink)) {
      panelSurface->SetCursorFree(true);
      cursorFreed = true;
    }
  }

  DiskSettings settings(system.settings.iniPath);
  settings.Load();
  char fileName[platform::kPathSize] = {};
  char* lastPath = floppy ? settings.lastPathFdd : settings.lastPathHdd;
  request.filter = ImageFilter(row);
  request.initialFolder = lastPath;
  request.fileName = fileName;
  request.mustExist = true;
  request.explorerWithHook = true;
  request.resizable = true;

  if (panelSurface->ShowFileDialog(request)) {
    EjectMedium(system, row);
    if (fileName[0] != '\0')
      platform::CopyString(system.settings.imagePaths[row], fileName, platform::kPathSize);
    ScheduleMount(system, row);
    FolderOf(fileName, lastPath, platform::kPathSize);
    settings.Save();
  } else if (running && ((displayFlag != nullptr && *displayFlag != 0) || DialogModeFlag(links))) {
    // In the host's dialog mode a cancelled choice takes the medium out.
    EjectMedium(system, row);
  }
  if (cursorFreed) panelSurface->SetCursorFree(false);
  RefreshPanel(panel);
  NotifyHostDialogClosed(links);
}

void NewOrSetting(StatusPanel& panel, int row) {
  ControlSurface* panelSurface = panel.surface.load();
  if (panelSurface == nullptr) return;
  DiskSystem& system = panel.system;
  char text[256];
  panelSurface->GetText(NewOrSettingButton(row), text, sizeof text);
  bool setting = std::strcmp(text, "Setting") == 0;
  if (IsFloppyRow(row)) {
    if (!setting) {
      RunNewFloppyImageDialog(system, *panelSurface, row);
    } else {
      ShowImageSetting(system, *panelSurface, row);
      if (system.settings.realDrives[row].useImage == 0)
        system.settings.realDrives[row].inserted = 1;
    }
    // The new image, or the medium with its new settings, goes in again.
    ScheduleMount(system, row);
  } else if (!setting) {
    RunNewHardDiskImageDialog(system, *panelSurface, row);
  } else {
    ShowImageSetting(system, *panelSurface, row);
  }
}

std::string EditorCommandLine(const char* editor, const char* image) {
  return std::string("\"") + editor + "\" \"" + image + "\" /S";
}

void LaunchEditor(const DiskSystem& system, int row) {
  if (IsFloppyRow(row) || row >= kImageCount) return;
  DiskSettings settings(system.settings.iniPath);
  settings.Load();
  // The panel's thread waits for the editor: the image stays untouched by the emulation meanwhile.
  platform::RunProcessAndWait(
      EditorCommandLine(settings.EditorPath(), system.settings.imagePaths[row]).c_str());
}

}  // namespace disk
