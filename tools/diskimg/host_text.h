// Text between the disk's character set and the host's: names and comments on PC-98 disks are
// Shift_JIS; a POSIX terminal and file system speak UTF-8, while a Windows console program sees
// the system's ANSI code page and gets the bytes as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fat/dir_entry.h"

namespace diskimg {

// Disk bytes as the host shows them; bytes that are no Shift_JIS text come out as they are.
std::string ShowDiskText(std::string_view disk);
// Host text as the disk stores it; nothing when the text has no Shift_JIS form.
std::optional<std::string> DiskTextOf(std::string_view host);

// "2001-02-03 04:05" for listings; with seconds for JSON ("2001-02-03T04:05:06").
std::string DateText(const disk::fat::DosTimestamp& stamp, bool iso);

// Modification time of a host file as a DOS timestamp (local time); the current time when the
// file's time cannot be read.
disk::fat::DosTimestamp HostFileTime(const std::string& path);
// Sets a host file's modification time from a DOS timestamp taken as local time.
void SetHostFileTime(const std::string& path, const disk::fat::DosTimestamp& stamp);
disk::fat::DosTimestamp Now();

// The last part of a host path (after '/' and, on Windows, '\').
std::string BaseName(const std::string& path);

}  // namespace diskimg
