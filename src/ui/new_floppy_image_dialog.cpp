#include <memory>

#include "formats/floppy_geometry.h"
#include "machine/disk_system.h"
#include "media/new_floppy_image.h"
#include "platform/raw_volume.h"
#include "platform/system.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"

namespace disk {
namespace {

constexpr int kFloppyProgressMessages = 10;
// "読み出すFDは必ずライトプロテクトして下さい" (write-protect the floppy to be read) in the
// Japanese code page, as the message box takes it.
constexpr char kWriteProtectWarning[] =
    "\x93\xC7\x82\xDD\x8F\x6F\x82\xB7\x46\x44\x82\xCD\x95\x4B\x82\xB8\x83\x89\x83\x43\x83\x67\x83"
    "\x76\x83\x8D\x83\x65\x83\x4E\x83\x67\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xA2";

// Reads the floppy in the real drive: the volume on the NT family (or the device the platform
// maps the letter to), the VWIN32 absolute disk read on Windows 9x. A device that cannot be
// opened shows as the first read failing.
DiskReader RealFloppyReader(char letter, int mediaIndex) {
  std::uint32_t sectorSize = SectorSize(ConversionMedium(mediaIndex).n);
  std::shared_ptr<std::uintptr_t> vwin32(
      new std::uintptr_t(platform::IsNtFamily() ? 0 : platform::OpenVwin32Device()),
      [](std::uintptr_t* device) {
        platform::CloseVwin32Device(*device);
        delete device;
      });
  return [letter, sectorSize, vwin32](std::uint32_t offset, void* buffer, std::uint32_t count) {
    if (*vwin32 == 0) return platform::ReadRawVolume(letter, offset, buffer, count);
    return platform::Vwin32DiskTransfer(*vwin32, false, static_cast<std::uint32_t>(letter - 'A'),
                                        offset / sectorSize, count / sectorSize, buffer);
  };
}

void EnableLists(ControlSurface& dialog, bool enabled) {
  dialog.Enable(IDC_NEW_LETTER, enabled);
  dialog.Enable(IDC_NEW_MEDIA, enabled);
}

}  // namespace

void NewFloppyImageDialog::Validate() {
  if (letterIndex == -1) letterIndex = 0;
  if (mediaIndex != 0 && mediaIndex != 1) mediaIndex = 1;
}

void NewFloppyImageDialog::OnInit(ControlSurface& dialog) {
  letterIndex = -1;
  mediaIndex = 0;
  Validate();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char text[2] = {letter, '\0'};
    dialog.AddListItem(IDC_NEW_LETTER, text);
  }
  dialog.AddListItem(IDC_NEW_MEDIA, "1.23M");
  dialog.AddListItem(IDC_NEW_MEDIA, "1.44M");
  dialog.SelectListItem(IDC_NEW_LETTER, letterIndex);
  dialog.SelectListItem(IDC_NEW_MEDIA, mediaIndex);
  dialog.SetCheck(IDC_NEW_BLANK, true);
  EnableLists(dialog, false);
  dialog.SetProgressRange(IDC_NEW_FD_PROGRESS, 0, 100);
}

void NewFloppyImageDialog::OnCommand(ControlSurface& dialog, int id) {
  switch (id) {
    case IDC_NEW_BLANK:
      EnableLists(dialog, false);
      break;
    case IDC_NEW_CONVERT:
      EnableLists(dialog, true);
      break;
    case IDC_NEW_START:
      // No second START can arrive while the work lets messages through.
      for (int control = IDC_NEW_BLANK; control <= IDC_NEW_CANCEL; ++control)
        dialog.Enable(control, false);
      dialog.Enable(IDC_NEW_GROUP, false);
      letterIndex = dialog.SelectedListItem(IDC_NEW_LETTER);
      mediaIndex = dialog.SelectedListItem(IDC_NEW_MEDIA);
      Validate();
      CreateFloppyImage(dialog, dialog.IsChecked(IDC_NEW_BLANK));
      dialog.EndDialog(1);
      break;
    case IDC_NEW_CANCEL:
      dialog.EndDialog(1);
      break;
    default:
      break;  // Escape (2) does nothing here
  }
}

void NewFloppyImageDialog::CreateFloppyImage(ControlSurface& dialog, bool blank) {
  DiskSettings settings(system.settings.iniPath);
  settings.Load();
  char fileName[platform::kPathSize] = {};
  if (!AskNewImageName(dialog, "FD IMAGE(*.MFD)\0*.MFD\0", settings.lastPathFdd, ".MFD", fileName))
    return;

  auto progress = [&dialog](int done, int total) {
    ShowProgress(dialog, IDC_NEW_FD_PROGRESS, done, total, kFloppyProgressMessages);
  };
  ImageResult result;
  if (blank) {
    result = CreateBlankFloppyImage(fileName, progress);
  } else {
    if (!dialog.ShowMessage(kWriteProtectWarning, "Attention", MessageKind::kWarningOkCancel))
      return;
    result =
        ConvertFloppyToImage(RealFloppyReader(static_cast<char>('A' + letterIndex), mediaIndex),
                             mediaIndex, fileName, progress);
  }
  if (result != ImageResult::kDone) {
    dialog.ShowMessage("failure", "", MessageKind::kStop);
    return;
  }
  platform::CopyString(system.settings.imagePaths[row], fileName, platform::kPathSize);
}

}  // namespace disk
