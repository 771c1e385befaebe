// The NEW FD IMAGE and NEW HD IMAGE dialogs: the file they write and the row that takes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "media/new_hard_disk_image.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/ui_fixture.h"

namespace {

using testing_support::Bytes;
using testing_support::Exists;
using testing_support::ReadAll;

class NewImageDialogTest : public testing_support::UiTest {
 protected:
  testing_support::FakeSurface window;
};

TEST_F(NewImageDialogTest, BlankFloppyGetsItsExtensionAndBecomesTheRowImage) {
  testing_support::WriteText(ini, "[DISK]\nLASTPATHFDD=" + dir.path() + "\n");
  disk::NewFloppyImageDialog dialog(system, 1);
  dialog.OnInit(window);
  EXPECT_EQ(window[IDC_NEW_LETTER].selected, 0);
  EXPECT_EQ(window[IDC_NEW_MEDIA].items, (std::vector<std::string>{"1.23M", "1.44M"}));
  EXPECT_TRUE(window[IDC_NEW_BLANK].checked);
  EXPECT_FALSE(window[IDC_NEW_LETTER].enabled || window[IDC_NEW_MEDIA].enabled);
  dialog.OnCommand(window, IDC_NEW_CONVERT);
  EXPECT_TRUE(window[IDC_NEW_LETTER].enabled && window[IDC_NEW_MEDIA].enabled);
  dialog.OnCommand(window, IDC_NEW_BLANK);
  EXPECT_FALSE(window[IDC_NEW_MEDIA].enabled);
  dialog.OnCommand(window, IDCANCEL_KEY);  // Escape does nothing
  EXPECT_EQ(window.endResult, -1);

  window.ChooseFile(dir.File("NEWDISK"));
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_EQ(window.endResult, 1);
  EXPECT_EQ(window.fileDialogs[0].initialFolder, dir.path());
  EXPECT_TRUE(window.fileDialogs[0].save);
  // The header alone, every place without a sector.
  const Bytes blank = ReadAll(dir.File("NEWDISK.MFD"));
  ASSERT_EQ(blank.size(), 68112u);
  EXPECT_EQ(std::memcmp(blank.data(), "ZEBFDDIMAGE.R0\0\0New FD Image\0", 29), 0);
  const std::uint8_t* last = &blank[0x120 + (161 * 26 + 25) * 16];  // track 161, place 25
  EXPECT_EQ(Bytes(last, last + 12),
            (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xE0, 0x44, 1, 0, 0, 0}));
  EXPECT_STREQ(system.settings.imagePaths[1], dir.File("NEWDISK.MFD").c_str());
  // A step for each track, each letting waiting messages through; no second START meanwhile.
  const auto& progress = window[IDC_NEW_FD_PROGRESS].progress;
  ASSERT_EQ(progress.size(), 163u);
  EXPECT_EQ(progress.back(), 99);
  EXPECT_EQ(window.pumped, 1630);
  for (int id = IDC_NEW_BLANK; id <= IDC_NEW_CANCEL; ++id) EXPECT_FALSE(window[id].enabled) << id;
}

TEST_F(NewImageDialogTest, ConversionReadsTheDriveAfterTheWarning) {
  const Bytes drive = testing_support::PatternBytes(1474560, 3);
  testing_support::WriteAll(dir.File("drive-C"), drive);
  testing_support::SetVariable("DISK_RAW_DRIVE_C", dir.File("drive-C"));
  testing_support::SetVariable("DISK_RAW_DRIVE_D", dir.File("no-drive-D"));
  disk::NewFloppyImageDialog dialog(system, 0);
  dialog.OnInit(window);
  window[IDC_NEW_BLANK].checked = false;
  window[IDC_NEW_LETTER].selected = 2;  // C
  window[IDC_NEW_MEDIA].selected = 1;   // 1.44M
  window.ChooseFile(dir.File("COPY.IMG"));
  window.messageAnswer = false;  // the warning cancelled: nothing at all
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_FALSE(Exists(dir.File("COPY.IMG")));

  window.messageAnswer = true;
  dialog.OnCommand(window, IDC_NEW_START);
  // Every sector in disk order after the header, whose records name them (.IMG stays).
  const Bytes copy = ReadAll(dir.File("COPY.IMG"));
  ASSERT_EQ(copy.size(), 1542672u);
  EXPECT_EQ(Bytes(copy.begin() + 68112, copy.end()), drive);
  const std::uint8_t* record = &copy[0x120 + (3 * 26 + 17) * 16];  // track 3, place 17
  EXPECT_EQ(Bytes(record, record + 11), (Bytes{1, 1, 18, 2, 1, 0, 0, 4, 0, 0, 0x30}));
  EXPECT_STREQ(system.settings.imagePaths[0], dir.File("COPY.IMG").c_str());

  // A drive that cannot be read: "failure", and the row keeps its image.
  window[IDC_NEW_LETTER].selected = 3;  // D: no such file
  window.ChooseFile(dir.File("FAIL.MFD"));
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_EQ(window.messages.back(), "failure");
  EXPECT_FALSE(Exists(dir.File("FAIL.MFD")));
  EXPECT_STREQ(system.settings.imagePaths[0], dir.File("COPY.IMG").c_str());
  testing_support::SetVariable("DISK_RAW_DRIVE_C", "");
  testing_support::SetVariable("DISK_RAW_DRIVE_D", "");
}

TEST_F(NewImageDialogTest, HardDiskSizeComesFromTheEditField) {
  disk::NewHardDiskImageDialog dialog(system, 3);
  dialog.OnInit(window);
  EXPECT_EQ(window[IDC_NEW_SIZE].text, "80");
  window[IDC_NEW_SIZE].text = "MB";
  window.ChooseFile("");  // cancelled save dialog: nothing
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_EQ(dialog.sizeMB, 80u);
  EXPECT_EQ(window.endResult, 1);
  EXPECT_STREQ(system.settings.imagePaths[3], "");

  // 8 cylinders a megabyte of zeros after the header; the low 16 bits of the cylinder count.
  for (const char* size : {"0", "65537", "1"}) {
    window[IDC_NEW_SIZE].text = size;
    window.ChooseFile(dir.File("DISK1"));
    dialog.OnCommand(window, IDC_NEW_START);
    const Bytes image = ReadAll(dir.File("DISK1.MHD"));
    ASSERT_EQ(image.size(), size[0] == '0' ? 512u : 1049088u);
    EXPECT_EQ(std::memcmp(image.data(), "ZEBHDDIMAGE.R0\0\0New HD Image\0", 29), 0);
    EXPECT_TRUE(std::all_of(image.begin() + 512, image.end(), [](auto b) { return b == 0; }));
  }
  EXPECT_STREQ(system.settings.imagePaths[3], dir.File("DISK1.MHD").c_str());
  EXPECT_EQ(window[IDC_NEW_HD_PROGRESS].progress,
            (std::vector<int>{0, 12, 25, 37, 50, 62, 75, 87, 0, 12, 25, 37, 50, 62, 75, 87}));

  EXPECT_EQ(disk::CylindersForSize(4095), 32760);  // the largest; 4096 MB reaches 4 GiB
  window[IDC_NEW_SIZE].text = "4096";              // refused silently
  window.ChooseFile(dir.File("BIG"));
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_FALSE(Exists(dir.File("BIG.MHD")));
  EXPECT_TRUE(window.messages.empty());
  EXPECT_STREQ(system.settings.imagePaths[3], dir.File("DISK1.MHD").c_str());
}

}  // namespace
