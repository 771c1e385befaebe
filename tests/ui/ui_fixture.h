// A root object of its own on a scratch INI file with a fake status panel attached, and image
// files made to order.
#pragma once

#include <gtest/gtest.h>

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
  void SetUp() override;

  // An MFD image with a comment, an MHD image with a comment, and a D88 image whose stated size
  // is off by `sizeDelta`.
  static Bytes Mfd(const std::string& comment, int revision = 0, bool writeProtect = false);
  static Bytes Mhd(const std::string& comment) { return MhdImage(2, 8, 16, 512, {}, comment); }
  static Bytes D88(const std::string& name, int sizeDelta = 0);
  std::string Image(const std::string& name, const Bytes& bytes) {
    WriteAll(dir.File(name), bytes);
    return dir.File(name);
  }
  void SetPath(int row, const std::string& path);
  void SetRealDrive(int row, const char* letter, bool is144);
  // A panel row as the user sees it: the info text, then the captions the panel gives the image,
  // New or Setting, Eject (and, for hard disks, Edit) buttons, each after "-" when disabled.
  std::string Row(int row);

  disk::DiskSystem system;
  disk::StatusPanel ui{system};
  ScratchDir dir;
  std::string ini = dir.File("host.ini");
  FakeSurface panel;
};

}  // namespace testing_support
