#include "formats/image_label.h"
#include "machine/disk_system.h"
#include "media/file_routines.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/panel_controls.h"

namespace disk {
namespace {

bool IsRealDrive(const DiskSystem& system, std::uint32_t row) {
  return IsFloppyRow(static_cast<int>(row)) && system.settings.realDrives[row].useImage == 0;
}

}  // namespace

ImageSettingDialog::ImageSettingDialog(DiskSystem& diskSystem, int panelRow)
    : system(diskSystem), row(static_cast<std::uint32_t>(panelRow)) {}

ImageSettingDialog::~ImageSettingDialog() {
  Close();
}

void ImageSettingDialog::Close() {
  if (file != 0) CloseFile(file);
  file = 0;
}

void ImageSettingDialog::OnInit(ControlSurface& dialog) {
  labelEditable = 0;
  protectEditable = 0;
  label[0] = '\0';
  writeProtect = 0;
  if (IsRealDrive(system, row)) {
    writeProtect = system.settings.realDrives[row].writeProtect;
    protectEditable = 1;
    dialog.SetCheck(IDC_WRITE_PROTECT, writeProtect != 0);
    dialog.Enable(IDC_LABEL, false);
    dialog.Enable(IDC_LABEL_CAPTION, false);
    dialog.Enable(IDC_WRITE_PROTECT, true);
    return;
  }
  file = OpenImageReadWrite(system.settings.imagePaths[row]);
  headerRead_ = file != 0 ? ReadFileBytes(file, header, kHeaderSize) : 0;
  const EditableHeader kind = EditableHeaderOf(header, headerRead_);
  if (kind != EditableHeader::kNone) {
    const bool mfd = kind == EditableHeader::kMfd;
    ReadHeaderLabel(header, label);
    writeProtect = mfd && ReadHeaderWriteProtect(header) ? 1 : 0;
    labelEditable = 1;
    protectEditable = mfd ? 1 : 0;
  }
  dialog.SetText(IDC_LABEL, label);
  dialog.SetCheck(IDC_WRITE_PROTECT, writeProtect != 0);
  dialog.Enable(IDC_LABEL, labelEditable != 0);
  dialog.Enable(IDC_LABEL_CAPTION, labelEditable != 0);
  dialog.Enable(IDC_WRITE_PROTECT, protectEditable != 0 && labelEditable != 0);
  if (labelEditable == 0) Close();
}

void ImageSettingDialog::OnCommand(ControlSurface& dialog, int id) {
  if (id == IDC_WRITE_PROTECT) {
    writeProtect = writeProtect != 0 ? 0 : 1;
    return;
  }
  if (id != IDC_SETTING_OK) return;  // Enter and Escape do nothing here
  if (IsRealDrive(system, row)) {
    system.settings.realDrives[row].writeProtect = static_cast<std::uint8_t>(writeProtect);
  } else if (labelEditable != 0) {
    dialog.GetText(IDC_LABEL, label, sizeof label);
    WriteHeaderLabel(header, label);
    if (protectEditable != 0) WriteHeaderWriteProtect(header, writeProtect != 0);
    // Only the bytes that were read go back, so a short file never grows.
    if (SeekFailed(file, 0) == 0) WriteFileBytes(file, header, headerRead_);
    Close();
  }
  dialog.EndDialog(1);
}

}  // namespace disk
