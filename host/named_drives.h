// The drives an INI file names in its section [DISK], read on the host's side, independently of
// the module, so that mhwhost checks what the user wrote rather than what the module took.
#pragma once

#include <string>

namespace mhwhost {

inline constexpr int kNamedDrives = 4;  // floppy drives 1 and 2, hard disks 1 and 2

struct NamedDrives {
  std::string paths[kNamedDrives];  // DISK00 to DISK03; empty = none
  bool realDrive[2] = {};           // blnImage00/01 beginning with '0'
  char letter[2] = {'A', 'A'};      // szFdd00/01
  bool media144[2] = {};            // byType00/01 nonzero
  bool fdWait = false;              // FDWAIT not beginning with '0'

  bool NamesAny() const;
  static const char* Key(int drive);   // "DISK00" ...
  static const char* Name(int drive);  // "floppy 1" ...
};

// Reads the keys the way the Windows profile functions do: names in any case, the first
// matching section and key count, values trimmed of blanks and of one pair of quotes, missing
// keys take their defaults. False, with `problem` set, when the file cannot be read or has no
// section [DISK].
bool ReadNamedDrives(const std::string& iniPath, NamedDrives& drives, std::string& problem);

// The file a real floppy drive's medium is read from: DISK_RAW_DRIVE_<letter> when set, else
// the platform's device for the letter.
std::string RealDriveMedium(char letter);

}  // namespace mhwhost
