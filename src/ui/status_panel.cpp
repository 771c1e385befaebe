#include "ui/status_panel.h"

#include <cstdio>
#include <string>

#include "formats/image_label.h"
#include "machine/disk_system.h"
#include "machine/media_change.h"
#include "media/file_routines.h"
#include "platform/file.h"
#include "ui/control_surface.h"
#include "ui/image_selection.h"
#include "ui/panel_controls.h"
#include "ui/user_interface.h"

namespace disk {
namespace {

using namespace panel;

constexpr int kLampMilliseconds = 80;
constexpr int kFirstLampTimer = 1;

constexpr const char* kNoInformation = "No Information";

std::string DoubleAmpersands(const std::string& text) {
  std::string shown;
  for (char c : text) {
    shown += c;
    if (c == '&') shown += '&';
  }
  return shown;
}

// The label of an image file (the comment of an MFD or MHD image, the disk name of a D88 image)
// with every '&' doubled for the static control; "No Information" when the file has none. Empty
// when the file cannot be opened.
std::string ImageInfoText(const char* path, bool* opened) {
  FileHandle file = OpenImageRead(path);
  if (opened != nullptr) *opened = file != platform::kNoFile;
  if (file == platform::kNoFile) return {};
  FileImageReader reader(file);
  std::string text = ImageLabel(reader);
  CloseFile(file);
  return text.empty() ? kNoInformation : DoubleAmpersands(text);
}

// The row whose control of this kind is `id`, or -1.
int RowOf(int id, int (*control)(int)) {
  for (int row = 0; row < kRows; ++row)
    if (control(row) == id) return row;
  return -1;
}

void ShowRealDrive(ControlSurface& s, int row, const RealDriveRecord& drive) {
  char info[platform::kPathSize + 32];
  std::snprintf(info, sizeof info, "FD Drive - %s ( %s )", drive.driveName,
                drive.is144 != 0 ? "1.44M" : "1.23M");
  s.SetText(InfoText(row), info);
  s.SetText(ImageButton(row), "");
  s.Enable(ImageButton(row), false);
  s.SetText(NewOrSettingButton(row), "Setting");
  bool inserted = drive.inserted != 0;
  s.SetText(EjectButton(row), inserted ? "Eject" : "Set");
  s.Enable(EjectButton(row), true);
  s.Enable(NewOrSettingButton(row), inserted);
}

void ShowRow(const DiskSystem& system, ControlSurface& s, int row, DiskSettings& settings) {
  bool floppy = IsFloppyRow(row);
  if (floppy && system.settings.realDrives[row].useImage == 0) {
    ShowRealDrive(s, row, system.settings.realDrives[row]);
    return;
  }
  const char* path = system.settings.imagePaths[row];
  bool opened = false;
  std::string info = path[0] != '\0' ? ImageInfoText(path, &opened) : std::string();
  // Hard disks are mounted only at start-up: their media stay fixed while the machine runs.
  bool changeable = floppy || system.running == 0;
  if (floppy) s.SetText(EjectButton(row), "Eject");
  if (!opened) {
    s.SetText(ImageButton(row), "");
    s.SetText(NewOrSettingButton(row), "New");
    s.SetText(InfoText(row), "");
    s.Enable(EjectButton(row), false);
    s.Enable(NewOrSettingButton(row), changeable);
    s.Enable(ImageButton(row), changeable);
    if (!floppy) s.Enable(EditButton(row), false);
    return;
  }
  s.SetText(ImageButton(row), path);
  s.SetText(NewOrSettingButton(row), "Setting");
  s.SetText(InfoText(row), info.c_str());
  s.Enable(EjectButton(row), changeable);
  s.Enable(ImageButton(row), changeable);
  s.Enable(NewOrSettingButton(row), true);
  if (!floppy)
    s.Enable(EditButton(row), system.running == 0 && platform::FileExists(settings.EditorPath()));
}

}  // namespace

StatusPanel::~StatusPanel() {
  ClosePanelWindow(*this);
}

void RefreshPanel(StatusPanel& panel) {
  ControlSurface* s = panel.surface.load();
  if (s == nullptr) return;
  DiskSettings settings(panel.system.settings.iniPath);
  settings.Load();
  for (int row = 0; row < kRows; ++row) ShowRow(panel.system, *s, row, settings);
}

void SetAccessLamp(StatusPanel& panel, int index, bool on) {
  ControlSurface* s = panel.surface.load();
  if (s == nullptr || index < 0 || index >= kRows) return;
  s->StopTimer(kFirstLampTimer + index);
  s->PostLamp(Lamp(index), on);
  if (on) s->StartTimer(kFirstLampTimer + index, kLampMilliseconds);
}

void PressPanelButton(StatusPanel& panel, int id) {
  if (ControlSurface* s = panel.surface.load()) s->SendCommand(id);
}

const char* MenuLabel(const DriveSettings& settings, int drive) {
  const RealDriveRecord& record = settings.realDrives[drive];
  if (record.useImage != 0) return "  --  ";
  return record.inserted != 0 ? "Eject " : "Set   ";
}

int MenuCommand(const DriveSettings& settings, int drive) {
  const RealDriveRecord& record = settings.realDrives[drive];
  return record.useImage != 0 ? ImageButton(drive) : EjectButton(drive);
}

void PanelInit(StatusPanel& panel, ControlSurface& surface) {
  panel.surface.store(&surface);
  RefreshPanel(panel);
}

bool PanelCommand(StatusPanel& panel, int id) {
  DiskSystem& system = panel.system;
  int row = -1;
  if ((row = RowOf(id, EjectButton)) >= 0) {
    EjectMedium(system, row);
  } else if ((row = RowOf(id, ImageButton)) >= 0) {
    if (panel.panelBusy != 0) return true;
    panel.panelBusy = 1;
    OpenImageDialog(panel, row);
    RefreshPanel(panel);
    panel.panelBusy = 0;
    return true;
  } else if ((row = RowOf(id, NewOrSettingButton)) >= 0) {
    NewOrSetting(panel, row);
  } else if ((row = RowOf(id, EditButton)) >= kFirstHardDiskPath) {
    LaunchEditor(system, row);
  } else {
    return false;
  }
  RefreshPanel(panel);
  return true;
}

void PanelTimer(StatusPanel& panel, int id) {
  if (id >= kFirstLampTimer && id < kFirstLampTimer + kRows)
    SetAccessLamp(panel, id - kFirstLampTimer, false);
}

void PanelDestroyed(StatusPanel& panel) {
  const DriveSettings& drives = panel.system.settings;
  DiskSettings settings(drives.iniPath);
  settings.Load();
  for (int i = 0; i < kImageCount; ++i)
    platform::CopyString(settings.imagePaths[i], drives.imagePaths[i], platform::kPathSize);
  settings.Save();
  panel.surface.store(nullptr);
}

void DropImage(StatusPanel& panel, int buttonId, const char* name) {
  int row = RowOf(buttonId, ImageButton);
  if (row < 0) row = 0;
  DiskSystem& system = panel.system;
  if (panel.panelBusy != 0) return;
  panel.panelBusy = 1;
  EjectMedium(system, row);
  if (name[0] != '\0')
    platform::CopyString(system.settings.imagePaths[row], name, platform::kPathSize);
  ScheduleMount(system, row);
  RefreshPanel(panel);
  panel.panelBusy = 0;
}

}  // namespace disk
