// A root object of its own on a scratch INI file with a fake status panel attached, and image
// files made to order.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "machine/disk_system.h"
#include "support/scratch.h"
#include "ui/fake_surface.h"
#include "ui/status_panel.h"

namespace testing_support {

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // Header bytes of the module's own formats and of D88; `sizeDelta` makes a D88 lie about its
  // size.
  static std::vector<std::uint8_t> MfdImage(const std::string& comment, bool writeProtect,
                                            int revision);
  static std::vector<std::uint8_t> MhdImage(const std::string& comment);
  static std::vector<std::uint8_t> D88Image(const std::string& name, int sizeDelta);

  std::string Image(const std::string& name, const std::vector<std::uint8_t>& bytes);
  void SetPath(int row, const std::string& path);
  void SetRealDrive(int row, const char* letter, bool is144);

  disk::DiskSystem system;
  disk::StatusPanel ui{system};
  ScratchDir dir;
  std::string ini = dir.File("host.ini");
  FakeSurface panel;
};

}  // namespace testing_support
