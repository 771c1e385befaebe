#include <gtest/gtest.h>

#include <cstdio>

#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"
#include "media/new_floppy_image.h"
#include "ui/panel_controls.h"
#include "ui/status_panel.h"
#include "ui/ui_fixture.h"

namespace {

using namespace disk::panel;
using testing_support::UiTest;

class StatusPanelTest : public UiTest {};

TEST_F(StatusPanelTest, RealDriveRowTogglesBetweenSetAndEject) {
  SetRealDrive(1, "B", true);
  system.running = 1;
  disk::RefreshPanel(ui);
  EXPECT_EQ(panel[InfoText(1)].text, "FD Drive - B ( 1.44M )");
  EXPECT_EQ(panel[EjectButton(1)].text, "Set");
  EXPECT_TRUE(panel[EjectButton(1)].enabled);
  EXPECT_EQ(panel[NewOrSettingButton(1)].text, "Setting");
  EXPECT_FALSE(panel[NewOrSettingButton(1)].enabled);
  EXPECT_EQ(panel[ImageButton(1)].text, "");
  EXPECT_FALSE(panel[ImageButton(1)].enabled);

  disk::PanelCommand(ui, EjectButton(1));  // Set: the medium goes in 40 ticks later
  EXPECT_EQ(system.settings.realDrives[1].inserted, 1u);
  EXPECT_STREQ(system.settings.imagePaths[1], "B");
  EXPECT_EQ(system.mountDelay[1], 40u);
  EXPECT_EQ(panel[EjectButton(1)].text, "Eject");
  EXPECT_TRUE(panel[NewOrSettingButton(1)].enabled);

  disk::PanelCommand(ui, EjectButton(1));
  EXPECT_EQ(system.settings.realDrives[1].inserted, 0u);
  EXPECT_STREQ(system.settings.imagePaths[1], "");
  EXPECT_EQ(panel[EjectButton(1)].text, "Set");

  SetRealDrive(0, "A", false);
  disk::RefreshPanel(ui);
  EXPECT_EQ(panel[InfoText(0)].text, "FD Drive - A ( 1.23M )");
}

TEST_F(StatusPanelTest, EjectWhileRunningUnmountsAndReportsTheRemoval) {
  std::string path = dir.File("eject.mfd");
  ASSERT_EQ(disk::CreateBlankFloppyImage(path.c_str(), {}), disk::ImageResult::kDone);
  disk::FloppyDrive& drive = *system.devices.floppyDrives[0];
  disk::FloppyController& fdc = *system.devices.fdc;
  drive.Reset();
  ASSERT_EQ(drive.LoadImage(path.c_str()), 1u);
  SetPath(0, path);
  fdc.interruptDelay = 0;
  disk::PanelCommand(ui, EjectButton(0));  // stopped: only the path goes
  EXPECT_TRUE(drive.Inserted());
  EXPECT_EQ(fdc.interruptDelay, 0u);

  SetPath(0, path);
  system.running = 1;
  disk::PanelCommand(ui, EjectButton(0));
  EXPECT_FALSE(drive.Inserted());
  EXPECT_STREQ(system.settings.imagePaths[0], "");
  EXPECT_EQ(fdc.unit, 0u);
  EXPECT_EQ(fdc.st0, 0xC8);
  EXPECT_GT(fdc.interruptDelay, 0u);

  // A real drive with its media set reports its own unit.
  SetRealDrive(1, "B", true);
  system.settings.realDrives[1].inserted = 1;
  disk::PanelCommand(ui, EjectButton(1));
  EXPECT_EQ(fdc.unit, 1u);
  EXPECT_EQ(fdc.st0, 0xC9);
  EXPECT_EQ(system.mountDelay[1], 0u);
}

TEST_F(StatusPanelTest, InfoTextComesFromTheImageHeader) {
  SetPath(0, Image("rd.mfd", MfdImage("R&D", false, 1)));
  SetPath(1, Image("bad.d88", D88Image("GAME DISK", 1)));
  SetPath(2, Image("nameless.mhd", MhdImage("")));
  SetPath(3, Image("plain.mhd", MhdImage("System & Tools")));
  disk::RefreshPanel(ui);
  EXPECT_EQ(panel[InfoText(0)].text, "R&&D");
  EXPECT_EQ(panel[ImageButton(0)].text, system.settings.imagePaths[0]);
  EXPECT_EQ(panel[NewOrSettingButton(0)].text, "Setting");
  EXPECT_EQ(panel[InfoText(1)].text, "No Information");
  EXPECT_EQ(panel[InfoText(2)].text, "No Information");
  EXPECT_EQ(panel[InfoText(3)].text, "System && Tools");

  SetPath(1, Image("good.d88", D88Image("GAME DISK", 0)));
  SetPath(0, Image("short.mfd", {'Z', 'E', 'B'}));
  disk::RefreshPanel(ui);
  EXPECT_EQ(panel[InfoText(1)].text, "GAME DISK");
  EXPECT_EQ(panel[InfoText(0)].text, "No Information");
}

TEST_F(StatusPanelTest, RowWithoutAReadableImageOffersNew) {
  SetPath(0, dir.File("missing.mfd"));
  disk::RefreshPanel(ui);
  EXPECT_EQ(panel[InfoText(0)].text, "");
  EXPECT_EQ(panel[ImageButton(0)].text, "");
  EXPECT_EQ(panel[NewOrSettingButton(0)].text, "New");
  EXPECT_EQ(panel[EjectButton(0)].text, "Eject");
  EXPECT_FALSE(panel[EjectButton(0)].enabled);
  EXPECT_TRUE(panel[ImageButton(0)].enabled);
  EXPECT_TRUE(panel[NewOrSettingButton(0)].enabled);
}

// The editor file named in the INI file, created where EditorPath resolves it.
std::string MakeEditor(const std::string& ini, const std::string& value) {
  testing_support::WriteText(ini, "[DISK]\nDISKEXPLORER=" + value + "\n");
  disk::DiskSettings settings(ini.c_str());
  settings.Load();
  std::string resolved = settings.EditorPath();
  testing_support::WriteText(resolved, "x");
  return resolved;
}

TEST_F(StatusPanelTest, HardDiskRowsAreFixedWhileTheMachineRuns) {
  MakeEditor(ini, "editdisk.exe");
  SetPath(2, Image("hd.mhd", MhdImage("HD")));
  disk::RefreshPanel(ui);  // stopped
  for (int id : {EjectButton(2), ImageButton(2), NewOrSettingButton(2)})
    EXPECT_TRUE(panel[id].enabled) << id;
  EXPECT_TRUE(panel[EditButton(2)].enabled);
  EXPECT_TRUE(panel[ImageButton(3)].enabled);
  EXPECT_TRUE(panel[NewOrSettingButton(3)].enabled);
  EXPECT_FALSE(panel[EditButton(3)].enabled);
  EXPECT_FALSE(panel[EjectButton(3)].enabled);

  system.running = 1;
  disk::RefreshPanel(ui);
  for (int id : {EjectButton(2), ImageButton(2), EditButton(2)})
    EXPECT_FALSE(panel[id].enabled) << id;
  EXPECT_TRUE(panel[NewOrSettingButton(2)].enabled);
  for (int id : {EjectButton(3), ImageButton(3), EditButton(3), NewOrSettingButton(3)})
    EXPECT_FALSE(panel[id].enabled) << id;
}

TEST_F(StatusPanelTest, DroppedImageReplacesTheRowUnlessBusy) {
  std::string first = Image("first.mfd", MfdImage("one", false, 0));
  std::string second = Image("second.mfd", MfdImage("two", false, 0));
  system.running = 1;
  disk::DropImage(ui, ImageButton(0), first.c_str());
  EXPECT_STREQ(system.settings.imagePaths[0], first.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);
  EXPECT_EQ(panel[InfoText(0)].text, "one");
  EXPECT_EQ(ui.panelBusy, 0u);

  ui.panelBusy = 1;
  disk::DropImage(ui, ImageButton(0), second.c_str());
  EXPECT_STREQ(system.settings.imagePaths[0], first.c_str());
  panel.ChooseFile(second);
  disk::PanelCommand(ui, ImageButton(0));  // an image-path button while busy does nothing
  EXPECT_TRUE(panel.fileDialogs.empty());
  EXPECT_STREQ(system.settings.imagePaths[0], first.c_str());
  ui.panelBusy = 0;

  // Hard disks are mounted at the next start-up, not by the tick; an unknown window is row 0.
  disk::DropImage(ui, ImageButton(3), second.c_str());
  EXPECT_STREQ(system.settings.imagePaths[3], second.c_str());
  system.mountDelay[0] = 0;
  disk::DropImage(ui, 4711, second.c_str());
  EXPECT_STREQ(system.settings.imagePaths[0], second.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);
}

TEST_F(StatusPanelTest, LampGoesDarkEightyMillisecondsAfterTheLastAccess) {
  disk::SetAccessLamp(ui, 0, true);
  EXPECT_TRUE(panel.lamps[Lamp(0)]);
  panel.Advance(50);
  disk::SetAccessLamp(ui, 0, true);
  panel.Advance(79);
  EXPECT_TRUE(panel.lamps[Lamp(0)]);
  panel.Advance(1);
  EXPECT_FALSE(panel.lamps[Lamp(0)]);
  EXPECT_TRUE(panel.timers.empty());  // switching off stops the timer
  disk::SetAccessLamp(ui, 3, true);
  disk::SetAccessLamp(ui, 4, true);
  EXPECT_EQ(panel.lamps.count(Lamp(4)), 0u);
  EXPECT_TRUE(panel.lamps[Lamp(3)]);
  ui.surface.store(nullptr);
  disk::SetAccessLamp(ui, 2, true);  // no panel: nothing
  EXPECT_EQ(panel.lamps.count(Lamp(2)), 0u);
}

TEST_F(StatusPanelTest, DestroyedPanelSavesTheImagePaths) {
  testing_support::WriteText(ini, "[DISK]\nDISK00=old.mfd\nLASTPATHFDD=C:\\IMG\\\n");
  SetPath(0, "new.mfd");
  SetPath(2, "hd.mhd");
  disk::PanelDestroyed(ui);
  disk::DiskSettings settings(ini.c_str());
  settings.Load();
  EXPECT_STREQ(settings.imagePaths[0], "new.mfd");
  EXPECT_STREQ(settings.imagePaths[2], "hd.mhd");
  EXPECT_STREQ(settings.lastPathFdd, "C:\\IMG\\");
  EXPECT_EQ(ui.surface.load(), nullptr);
}

}  // namespace
