#include "machine/disk_system.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/status_panel.h"

namespace disk {
namespace {

constexpr int kDriveList[kFloppyUnitCount] = {IDC_DRIVE_1, IDC_DRIVE_2};
constexpr int kMediaList[kFloppyUnitCount] = {IDC_MEDIA_1, IDC_MEDIA_2};

// A media list means something only for a real drive.
void UpdateMediaLists(ControlSurface& dialog) {
  for (int i = 0; i < kFloppyUnitCount; ++i)
    dialog.Enable(kMediaList[i], dialog.SelectedListItem(kDriveList[i]) != 0);
}

void Save(const DiskSystem& system, ControlSurface& dialog) {
  DiskSettings settings(system.settings.iniPath);
  settings.Load();
  for (int i = 0; i < kFloppyUnitCount; ++i) {
    RealDriveSetting& drive = settings.realDrives[i];
    // A list left without a selection (the INI file named a letter or a media type the lists
    // do not hold) saves as the first entry: image files, 1.23 MB.
    int index = dialog.SelectedListItem(kDriveList[i]);
    if (index > 0) {
      drive.useImage = 0;
      const char letter[2] = {static_cast<char>(0x40 + index), '\0'};
      platform::CopyString(drive.driveName, letter, platform::kPathSize);
    } else {
      drive.useImage = 1;
      platform::CopyString(drive.driveName, "A", platform::kPathSize);
    }
    int media = dialog.SelectedListItem(kMediaList[i]);
    drive.is144 = media > 0 ? static_cast<std::uint32_t>(media) : 0;
  }
  dialog.GetText(IDC_EDITOR_PATH, settings.diskExplorer, platform::kPathSize);
  settings.fdWait = dialog.IsChecked(IDC_FDWAIT) ? 1 : 0;
  settings.Save();
}

}  // namespace

void DiskSettingDialog::OnInit(ControlSurface& dialog) {
  DiskSettings settings(system.settings.iniPath);
  settings.Load();
  for (int i = 0; i < kFloppyUnitCount; ++i) {
    const RealDriveSetting& drive = settings.realDrives[i];
    dialog.AddListItem(kDriveList[i], "Image File");
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      const char text[2] = {letter, '\0'};
      dialog.AddListItem(kDriveList[i], text);
    }
    dialog.SelectListItem(
        kDriveList[i],
        drive.useImage != 0 ? 0 : static_cast<unsigned char>(drive.driveName[0]) - 0x40);
    dialog.AddListItem(kMediaList[i], "1.23M");
    dialog.AddListItem(kMediaList[i], "1.44M");
    dialog.SelectListItem(kMediaList[i], static_cast<int>(drive.is144 & 0xFF));
  }
  dialog.SetText(IDC_EDITOR_PATH, settings.diskExplorer);
  dialog.SetCheck(IDC_FDWAIT, settings.fdWait != 0);
  UpdateMediaLists(dialog);
}

void DiskSettingDialog::OnCommand(ControlSurface& dialog, int id) {
  switch (id) {
    case IDC_DRIVE_1:
    case IDC_DRIVE_2:
      UpdateMediaLists(dialog);
      break;
    case IDC_EDITOR_BROWSE: {
      platform::CopyString(fileName, "editdisk.exe", platform::kPathSize);
      FileDialogRequest request;
      request.filter = "EXE FILES\0*.EXE\0ALL FILES\0*.*\0";
      request.fileName = fileName;
      request.mustExist = true;
      request.resizable = true;
      if (dialog.ShowFileDialog(request)) dialog.SetText(IDC_EDITOR_PATH, fileName);
      break;
    }
    case IDC_SAVE:
      Save(system, dialog);
      dialog.EndDialog(1);
      break;
    case IDCANCEL_KEY:
      dialog.EndDialog(1);
      break;
    default:
      break;
  }
}

void ApplyRealDriveSettings(StatusPanel& panel) {
  DiskSystem& system = panel.system;
  DiskSettings settings(system.settings.iniPath);
  settings.Load();
  system.TakeRealDriveSettings(settings);
  RefreshPanel(panel);
}

}  // namespace disk
