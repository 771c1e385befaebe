// The module's settings: section "DISK" of the host's INI file. A short-lived object: construct
// it for the INI path, Load, read or change fields, Save if something changed.
#pragma once

#include <cstdint>

#include "media/drive_settings.h"
#include "platform/file.h"

namespace disk {

struct RealDriveSetting {
  std::uint32_t useImage = 0;  // nonzero: the drive takes image files
  char driveName[platform::kPathSize] = {};
  std::uint32_t is144 = 0;  // nonzero: 1.44 MB media, else 1.23 MB
};

class DiskSettings {
 public:
  explicit DiskSettings(const char* iniPath);
  virtual ~DiskSettings() = default;

  void Load();
  void LoadFdWait();  // FDWAIT alone, all that a reset takes
  void Save() const;
  // Where the external editor is started from: absolute values as they stand, relative ones
  // appended to the INI file's folder.
  const char* EditorPath();

  char imagePaths[kImageCount][platform::kPathSize] = {};
  char lastPathFdd[platform::kPathSize] = {};
  char lastPathHdd[platform::kPathSize] = {};
  char diskExplorer[platform::kPathSize] = {};
  RealDriveSetting realDrives[kFloppyUnitCount];
  std::uint32_t fdWait = 0;
  char resolvedPath[platform::kPathSize] = {};
  char iniPath[platform::kPathSize] = {};
};

}  // namespace disk
