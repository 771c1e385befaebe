#include <cstring>

#include "fdd/image_loaders.h"
#include "fdd/mfd_header.h"
#include "hdd/hard_disk_image.h"
#include "plugin/disk_system.h"
#include "plugin/file_routines.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/image_info.h"
#include "ui/panel_controls.h"

namespace disk {
namespace {

// MFD and MHD headers keep their comment at the same place.
using mfd::kCommentOffset;
using mfd::kCommentSize;
using mfd::kWriteProtectOffset;

bool IsRealDrive(std::uint32_t row) {
  return panel::IsFloppyRow(static_cast<int>(row)) && TheDiskSystem().realDrives[row].useImage == 0;
}

}  // namespace

ImageSettingDialog::ImageSettingDialog(int panelRow) : row(static_cast<std::uint32_t>(panelRow)) {}

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
  if (IsRealDrive(row)) {
    writeProtect = TheDiskSystem().realDrives[row].writeProtect;
    protectEditable = 1;
    dialog.SetCheck(IDC_WRITE_PROTECT, writeProtect != 0);
    dialog.Enable(IDC_LABEL, false);
    dialog.Enable(IDC_LABEL_CAPTION, false);
    dialog.Enable(IDC_WRITE_PROTECT, true);
    return;
  }
  file = OpenImageReadWrite(TheDiskSystem().imagePaths[row]);
  headerRead_ = file != 0 ? ReadFileBytes(file, header, kHeaderSize) : 0;
  bool mfd = headerRead_ >= 15 &&
             (HasSignature(header, "ZEBFDDIMAGE.R0") || HasSignature(header, "ZEBFDDIMAGE.R1"));
  bool mhd = headerRead_ >= 15 && HasSignature(header, kMhdSignature);
  if (mfd || mhd) {
    // A comment without its NUL keeps 255 characters.
    std::memcpy(label, header + kCommentOffset, kCommentSize - 1);
    label[kCommentSize - 1] = '\0';
    writeProtect = mfd && header[kWriteProtectOffset] != 0 ? 1 : 0;
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
  if (IsRealDrive(row)) {
    TheDiskSystem().realDrives[row].writeProtect = static_cast<std::uint8_t>(writeProtect);
  } else if (labelEditable != 0) {
    dialog.GetText(IDC_LABEL, label, sizeof label);
    // The bytes after the new comment's NUL keep their old values.
    std::memcpy(header + kCommentOffset, label, std::strlen(label) + 1);
    if (protectEditable != 0) header[kWriteProtectOffset] = writeProtect != 0 ? 1 : 0;
    // Only the bytes that were read go back, so a short file never grows.
    if (SeekFailed(file, 0) == 0) WriteFileBytes(file, header, headerRead_);
    Close();
  }
  dialog.EndDialog(1);
}

}  // namespace disk
