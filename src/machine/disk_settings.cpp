#include "machine/disk_settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/profile.h"

namespace disk {
namespace {

constexpr const char* kSection = "DISK";

struct Profile {
  const char* file;

  void Read(const char* key, const char* fallback, char* buffer) const {
    platform::ReadProfileValue(kSection, key, fallback, buffer, platform::kPathSize, file);
  }
  void Write(const char* key, const char* value) const {
    platform::WriteProfileValue(kSection, key, value, file);
  }
};

// "0..." is off, anything else (the empty string included) is on.
std::uint32_t ReadFlag(const char* value) {
  return value[0] == '0' ? 0 : 1;
}

const char* FlagText(std::uint32_t value) {
  return value != 0 ? "1" : "0";
}

void Key(char* buffer, const char* format, int index) {
  std::snprintf(buffer, 32, format, index);
}

}  // namespace

DiskSettings::DiskSettings(const char* path) {
  platform::CopyString(iniPath, path, platform::kPathSize);
}

void DiskSettings::Load() {
  Profile profile{iniPath};
  char key[32];
  char value[platform::kPathSize];
  for (int i = 0; i < kImageCount; ++i) {
    Key(key, "DISK%02d", i);
    profile.Read(key, "", imagePaths[i]);
  }
  profile.Read("LASTPATHFDD", "", lastPathFdd);
  profile.Read("LASTPATHHDD", "", lastPathHdd);
  profile.Read("DISKEXPLORER", "", diskExplorer);
  for (int i = 0; i < kFloppyUnitCount; ++i) {
    RealDriveSetting& drive = realDrives[i];
    Key(key, "blnImage%02d", i);
    profile.Read(key, "1", value);
    drive.useImage = ReadFlag(value);
    Key(key, "szFdd%02d", i);
    profile.Read(key, "A", drive.driveName);
    Key(key, "byType%02d", i);
    profile.Read(key, "0", value);
    drive.is144 = static_cast<std::uint32_t>(std::strtol(value, nullptr, 10));
  }
  LoadFdWait();
}

void DiskSettings::LoadFdWait() {
  char value[platform::kPathSize];
  Profile{iniPath}.Read("FDWAIT", "0", value);
  fdWait = ReadFlag(value);
}

void DiskSettings::Save() const {
  Profile profile{iniPath};
  char key[32];
  char value[16];
  for (int i = 0; i < kImageCount; ++i) {
    Key(key, "DISK%02d", i);
    profile.Write(key, imagePaths[i]);
  }
  profile.Write("LASTPATHFDD", lastPathFdd);
  profile.Write("LASTPATHHDD", lastPathHdd);
  profile.Write("DISKEXPLORER", diskExplorer);
  for (int i = 0; i < kFloppyUnitCount; ++i) {
    const RealDriveSetting& drive = realDrives[i];
    Key(key, "blnImage%02d", i);
    profile.Write(key, FlagText(drive.useImage));
    Key(key, "szFdd%02d", i);
    profile.Write(key, drive.driveName);
    Key(key, "byType%02d", i);
    std::snprintf(value, sizeof value, "%d", static_cast<int>(drive.is144 & 0xFF));
    profile.Write(key, value);
  }
  profile.Write("FDWAIT", FlagText(fdWait));
}

const char* DiskSettings::EditorPath() {
  if (std::strchr(diskExplorer, ':') != nullptr || diskExplorer[0] == '\0') return diskExplorer;
  platform::CopyString(resolvedPath, iniPath, platform::kPathSize);
  if (char* slash = std::strrchr(resolvedPath, '\\')) *slash = '\0';
  size_t used = std::strlen(resolvedPath);
  platform::CopyString(resolvedPath + used, diskExplorer,
                       platform::kPathSize - static_cast<int>(used));
  return resolvedPath;
}

}  // namespace disk
