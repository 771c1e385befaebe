// The dialogs the status panel and the host open, as objects that live for one showing.
#pragma once

#include <cstdint>

#include "formats/mfd.h"
#include "machine/disk_settings.h"
#include "ui/control_surface.h"

namespace disk {

class DiskSystem;
class StatusPanel;

// "IMAGE FILE SETTING": the comment and write-protect byte of an MFD or MHD header, or the
// emulated write protection of a real floppy drive.
class ImageSettingDialog : public DialogPresenter {
 public:
  static constexpr std::uint32_t kHeaderSize = mfd::kR0HeaderSize;
  ImageSettingDialog(DiskSystem& diskSystem, int panelRow);
  ~ImageSettingDialog() override;
  void OnInit(ControlSurface& dialog) override;
  void OnCommand(ControlSurface& dialog, int id) override;

  DiskSystem& system;
  char label[256] = {};
  std::uint32_t row;
  std::uint8_t header[kHeaderSize] = {};
  std::uint32_t writeProtect = 0;
  std::uint32_t labelEditable = 0;
  std::uint32_t protectEditable = 0;
  std::uint32_t file = 0;

 private:
  std::uint32_t headerRead_ = 0;  // bytes of the header that came from the file
  void Close();
};

// "NEW FD IMAGE": a blank MFD image or a copy of a real floppy.
class NewFloppyImageDialog : public DialogPresenter {
 public:
  NewFloppyImageDialog(DiskSystem& diskSystem, int panelRow)
      : system(diskSystem), row(static_cast<std::uint32_t>(panelRow)) {}
  void OnInit(ControlSurface& dialog) override;
  void OnCommand(ControlSurface& dialog, int id) override;
  void Validate();

  DiskSystem& system;
  std::uint32_t row;
  std::int32_t letterIndex = -1;
  std::int32_t mediaIndex = 0;

 private:
  void CreateFloppyImage(ControlSurface& dialog, bool blank);
};

// "NEW HD IMAGE": a zero-filled MHD image of a size in megabytes.
class NewHardDiskImageDialog : public DialogPresenter {
 public:
  NewHardDiskImageDialog(DiskSystem& diskSystem, int panelRow)
      : system(diskSystem), row(static_cast<std::uint32_t>(panelRow)) {}
  void OnInit(ControlSurface& dialog) override;
  void OnCommand(ControlSurface& dialog, int id) override;

  DiskSystem& system;
  std::uint32_t row;
  std::uint32_t sizeMB = 80;

 private:
  void CreateImage(ControlSurface& dialog);
};

// "DISK SETTING": real floppy drives, the access wait and the external editor.
class DiskSettingDialog : public DialogPresenter {
 public:
  DiskSettingDialog(const DiskSystem& diskSystem, void* ownerWindow)
      : system(diskSystem), owner(ownerWindow) {}
  void OnInit(ControlSurface& dialog) override;
  void OnCommand(ControlSurface& dialog, int id) override;

  const DiskSystem& system;
  char fileName[platform::kPathSize] = {};
  void* owner;
};

// Each shows its dialog modally over `owner`.
void RunImageSettingDialog(DiskSystem& system, ControlSurface& owner, int row);
void RunNewFloppyImageDialog(DiskSystem& system, ControlSurface& owner, int row);
void RunNewHardDiskImageDialog(DiskSystem& system, ControlSurface& owner, int row);
// After the disk setting dialog: the real-drive settings of the INI file reach the drives.
void ApplyRealDriveSettings(StatusPanel& panel);

// Asks for the file a new image goes to, starting in `folder`; a name without an extension gets
// `extension`. False when the user cancelled.
bool AskNewImageName(ControlSurface& dialog, const char* filter, const char* folder,
                     const char* extension, char* fileName);
// Sets a progress bar and lets waiting messages through.
void ShowProgress(ControlSurface& dialog, int id, int done, int total, int messages);

}  // namespace disk
