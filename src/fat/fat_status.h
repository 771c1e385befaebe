// Outcomes of file-system operations, each with a short English text for tools to print.
#pragma once

namespace disk::fat {

enum class FatStatus {
  kOk,
  kNotFat,        // no usable BPB and no known floppy layout for the medium
  kIoError,       // the device refused a read or write
  kNotFound,      // a part of the path does not exist
  kNotDirectory,  // a part of the path before the last is a file
  kIsDirectory,   // a file operation named a directory
  kExists,        // mkdir on a name that is taken
  kBadName,       // not an 8.3 name DOS accepts
  kDiskFull,      // not enough free clusters
  kRootFull,      // the root directory has no free entry and cannot grow
  kNotEmpty,      // removing a directory that still holds entries
  kCorrupt,       // a cluster chain that is broken, loops or is shorter than the file
  kTooLarge,      // a file of 4 GB or more
  kBadLayout,     // a layout that does not fit the medium it is meant for
};

const char* FatStatusText(FatStatus status);

}  // namespace disk::fat
