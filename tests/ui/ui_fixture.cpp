#include "ui/ui_fixture.h"

#include <cstring>

namespace testing_support {
namespace {

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, const std::string& text) {
  std::memcpy(bytes.data() + at, text.c_str(), text.size() + 1);
}

}  // namespace

void UiTest::SetUp() {
  platform::CopyString(system.settings.iniPath, ini.c_str(), platform::kPathSize);
  for (auto& drive : system.settings.realDrives)
    platform::CopyString(drive.driveName, "A", platform::kPathSize);
  panel.statusPanel = &ui;
  ui.surface.store(&panel);
}

std::vector<std::uint8_t> UiTest::MfdImage(const std::string& comment, bool writeProtect,
                                           int revision) {
  std::vector<std::uint8_t> bytes(revision == 0 ? 68112 + 4096 : 960 + 2048);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  std::memset(bytes.data(), 0, 16);
  Put(bytes, 0, revision == 0 ? "ZEBFDDIMAGE.R0" : "ZEBFDDIMAGE.R1");
  Put(bytes, 16, comment);
  bytes[0x114] = writeProtect ? 1 : 0;
  return bytes;
}

std::vector<std::uint8_t> UiTest::MhdImage(const std::string& comment) {
  std::vector<std::uint8_t> bytes(512 + 4096);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 5 + 1);
  std::memset(bytes.data(), 0, 16);
  Put(bytes, 0, "ZEBHDDIMAGE.R0");
  Put(bytes, 16, comment);
  return bytes;
}

std::vector<std::uint8_t> UiTest::D88Image(const std::string& name, int sizeDelta) {
  std::vector<std::uint8_t> bytes(688 + 4096, 0);
  Put(bytes, 0, name);
  std::uint32_t stated = static_cast<std::uint32_t>(static_cast<int>(bytes.size()) + sizeDelta);
  for (int i = 0; i < 4; ++i) bytes[28 + i] = static_cast<std::uint8_t>(stated >> (8 * i));
  return bytes;
}

std::string UiTest::Image(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::string path = dir.File(name);
  WriteAll(path, bytes);
  return path;
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

}  // namespace testing_support
