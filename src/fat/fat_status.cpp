#include "fat/fat_status.h"

namespace disk::fat {

const char* FatStatusText(FatStatus status) {
  switch (status) {
    case FatStatus::kOk:
      return "done";
    case FatStatus::kNotFat:
      return "no FAT file system";
    case FatStatus::kIoError:
      return "sector read or write failed";
    case FatStatus::kNotFound:
      return "no such file or directory";
    case FatStatus::kNotDirectory:
      return "not a directory";
    case FatStatus::kIsDirectory:
      return "is a directory";
    case FatStatus::kExists:
      return "already exists";
    case FatStatus::kBadName:
      return "not a valid 8.3 name";
    case FatStatus::kDiskFull:
      return "disk full";
    case FatStatus::kRootFull:
      return "root directory full";
    case FatStatus::kNotEmpty:
      return "directory not empty";
    case FatStatus::kCorrupt:
      return "broken cluster chain";
    case FatStatus::kTooLarge:
      return "file too large for FAT";
    case FatStatus::kBadLayout:
      return "layout does not fit the medium";
  }
  return "unknown";
}

}  // namespace disk::fat
