// Control ids of the status panel, by row: 0 and 1 are floppy drives 1 and 2, 2 and 3 the hard
// disks, as in the image paths (IsFloppyRow, media/drive_settings.h).
#pragma once

#include "media/drive_settings.h"

namespace disk::panel {

inline constexpr int kRows = kImageCount;

constexpr int EjectButton(int row) {
  return 1001 + row;
}  // Eject/Set, or Remove for hard disks
constexpr int InfoText(int row) {
  return 1005 + row;
}
constexpr int ImageButton(int row) {
  return 1009 + row;
}
constexpr int Lamp(int row) {
  return 1013 + row;
}
constexpr int NewOrSettingButton(int row) {
  return IsFloppyRow(row) ? 1017 + row : 1018 + row;
}
constexpr int EditButton(int row) {
  return 1020 + row;
}  // hard-disk rows only

}  // namespace disk::panel
