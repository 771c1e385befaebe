// The module's settings: section "DISK" of the host's INI file. A short-lived object: construct
// it for the INI path, Load, read or change fields, Save if something changed.
#pragma once

#include <cstdint>

namespace disk {

inline constexpr int kPathSize = 260;
inline constexpr int kImageCount = 4;       // floppy 1, floppy 2, hard disk 1, hard disk 2
inline constexpr int kFloppyUnitCount = 2;  // floppy drives the user can configure

struct RealDriveSetting {
  std::uint32_t useImage = 0;  // nonzero: the drive takes image files
  char driveName[kPathSize] = {};
  std::uint32_t is144 = 0;  // nonzero: 1.44 MB media, else 1.23 MB
};

class DiskSettings {
 public:
  explicit DiskSettings(const char* iniPath);
  virtual ~DiskSettings() = default;

  void Load();
  void Save() const;
  // Where the external editor is started from: absolute values as they stand, relative ones
  // appended to the INI file's folder.
  const char* EditorPath();

  char imagePaths[kImageCount][kPathSize] = {};
  char lastPathFdd[kPathSize] = {};
  char lastPathHdd[kPathSize] = {};
  char diskExplorer[kPathSize] = {};
  RealDriveSetting realDrives[kFloppyUnitCount];
  std::uint32_t fdWait = 0;
  char resolvedPath[kPathSize] = {};
  char iniPath[kPathSize] = {};
};

// Copies at most size - 1 characters and always terminates; used for every fixed path field.
void CopyString(char* destination, const char* source, int size);

}  // namespace disk
