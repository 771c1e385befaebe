#include "ui/ui_fixture.h"

#include <cstring>

#include "ui/panel_controls.h"
#include "ui/status_panel.h"

namespace testing_support {
namespace {

void ResetSystem(disk::DiskSystem& s, const std::string& ini) {
  s.running = 0;
  for (auto& path : s.imagePaths) path[0] = '\0';
  for (auto& drive : s.realDrives) drive = disk::RealDriveRecord{};
  for (auto& drive : s.realDrives) disk::CopyString(drive.driveName, "A", disk::kPathSize);
  for (auto& delay : s.mountDelay) delay = 0;
  s.panelBusy = 0;
  s.host = nullptr;
  std::memset(s.dialogMode, 0, sizeof s.dialogMode);
  std::memset(s.displayMode, 0, sizeof s.displayMode);
  disk::CopyString(s.iniPath, ini.c_str(), disk::kPathSize);
}

}  // namespace

void UiTest::SetUp() {
  ResetSystem(system, ini);
  disk::AttachPanel(&panel);
}

void UiTest::TearDown() {
  disk::AttachPanel(nullptr);
  ResetSystem(system, "");
}

Bytes UiTest::Mfd(const std::string& comment, int revision, bool writeProtect) {
  DiskSpec disk = UniformDisk(1, 8, 3);
  disk.comment = comment;
  disk.writeProtect = writeProtect ? 1 : 0;
  return revision == 0 ? BuildR0(disk) : BuildR1(disk);
}

Bytes UiTest::D88(const std::string& name, int sizeDelta) {
  DiskSpec disk = UniformDisk(1, 8, 3);
  disk.comment = name;
  Bytes bytes = BuildD88(disk);
  PutLE(bytes, 0x1C, static_cast<std::uint32_t>(static_cast<int>(bytes.size()) + sizeDelta), 4);
  return bytes;
}

void UiTest::SetPath(int row, const std::string& path) {
  disk::CopyString(system.imagePaths[row], path.c_str(), disk::kPathSize);
}

void UiTest::SetRealDrive(int row, const char* letter, bool is144) {
  disk::RealDriveRecord& drive = system.realDrives[row];
  drive.useImage = 0;
  disk::CopyString(drive.driveName, letter, disk::kPathSize);
  drive.is144 = is144 ? 1 : 0;
}

std::string UiTest::Row(int row) {
  using namespace disk::panel;
  std::string text = panel[InfoText(row)].text;
  for (int id : {ImageButton(row), NewOrSettingButton(row), EjectButton(row), EditButton(row)}) {
    if (id == EditButton(row) && IsFloppyRow(row)) break;
    text += (panel[id].enabled ? "|" : "|-") + panel[id].text;
  }
  return text;
}

}  // namespace testing_support
