#include "ui/ui_fixture.h"

namespace testing_support {

void UiTest::SetUp() {
  platform::CopyString(system.settings.iniPath, ini.c_str(), platform::kPathSize);
  for (auto& drive : system.settings.realDrives)
    platform::CopyString(drive.driveName, "A", platform::kPathSize);
  panel.statusPanel = &ui;
  ui.surface.store(&panel);
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
  platform::CopyString(system.settings.imagePaths[row], path.c_str(), platform::kPathSize);
}

void UiTest::SetRealDrive(int row, const char* letter, bool is144) {
  disk::RealDriveRecord& drive = system.settings.realDrives[row];
  drive.useImage = 0;
  platform::CopyString(drive.driveName, letter, platform::kPathSize);
  drive.is144 = is144 ? 1 : 0;
}

std::string UiTest::Row(int row) {
  using namespace disk::panel;
  std::string text = panel[InfoText(row)].text;
  for (int id : {ImageButton(row), NewOrSettingButton(row), EjectButton(row), EditButton(row)}) {
    if (id == EditButton(row) && disk::IsFloppyRow(row)) break;
    text += (panel[id].enabled ? "|" : "|-") + panel[id].text;
  }
  return text;
}

}  // namespace testing_support
