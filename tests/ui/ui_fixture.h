// A root object of its own on a scratch INI file with a fake status panel attached, and image
// files made to order.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "machine/disk_system.h"
#include "support/disk_images.h"
#include "support/scratch.h"
#include "ui/fake_surface.h"
#include "ui/panel_controls.h"
#include "ui/status_panel.h"

namespace testing_support {

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::CopyString(system.settings.iniPath, ini.c_str(), platform::kPathSize);
    for (auto& drive : system.settings.realDrives)
      platform::CopyString(drive.driveName, "A", platform::kPathSize);
    ui.surface.store(&panel);
  }

  // MFD, MHD and D88 images with a comment.
  static Bytes Mfd(const std::string& comment, int revision = 0, bool writeProtect = false) {
    DiskSpec disk = UniformDisk(1, 8, 3);
    disk.comment = comment;
    disk.writeProtect = writeProtect ? 1 : 0;
    return revision == 0 ? BuildR0(disk) : BuildR1(disk);
  }
  static Bytes Mhd(const std::string& comment) { return MhdImage(2, 8, 16, 512, {}, comment); }
  static Bytes D88(const std::string& name) {
    DiskSpec disk = UniformDisk(1, 8, 3);
    disk.comment = name;
    return BuildD88(disk);
  }
  std::string Image(const std::string& name, const Bytes& bytes) {
    WriteAll(dir.File(name), bytes);
    return dir.File(name);
  }
  void SetPath(int row, const std::string& path) {
    platform::CopyString(system.settings.imagePaths[row], path.c_str(), platform::kPathSize);
  }
  void SetRealDrive(int row, const char* letter, bool is144) {
    disk::RealDriveRecord& drive = system.settings.realDrives[row];
    drive.useImage = 0;
    platform::CopyString(drive.driveName, letter, platform::kPathSize);
    drive.is144 = is144 ? 1 : 0;
  }
  // A panel row as the user sees it: the info text, then the captions the panel gives the image,
  // New or Setting, Eject (and, for hard disks, Edit) buttons, each after "-" when disabled.
  std::string Row(int row) {
    using namespace disk::panel;
    std::string text = panel[InfoText(row)].text;
    for (int id : {ImageButton(row), NewOrSettingButton(row), EjectButton(row), EditButton(row)}) {
      if (id == EditButton(row) && disk::IsFloppyRow(row)) break;
      text += (panel[id].enabled ? "|" : "|-") + panel[id].text;
    }
    return text;
  }
  // Each of `lines` is a line of the INI file.
  void ExpectInIni(std::initializer_list<std::string> lines) {
    std::string text = "\n" + ReadText(ini);
    std::erase(text, '\r');
    for (const auto& line : lines) EXPECT_NE(text.find("\n" + line + "\n"), text.npos) << line;
  }

  disk::DiskSystem system;
  disk::StatusPanel ui{system};
  ScratchDir dir;
  std::string ini = dir.File("host.ini");
  FakeSurface panel;
};

}  // namespace testing_support
