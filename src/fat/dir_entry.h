// 32-byte directory entries and the packed DOS date and time they carry.
#pragma once

#include <cstdint>

#include "fat/short_name.h"

namespace disk::fat {

inline constexpr std::uint8_t kAttrReadOnly = 0x01;
inline constexpr std::uint8_t kAttrHidden = 0x02;
inline constexpr std::uint8_t kAttrSystem = 0x04;
inline constexpr std::uint8_t kAttrVolumeLabel = 0x08;
inline constexpr std::uint8_t kAttrDirectory = 0x10;
inline constexpr std::uint8_t kAttrArchive = 0x20;
inline constexpr std::uint8_t kAttrLongName = 0x0F;  // a piece of a long name, not a file

inline constexpr std::uint8_t kEntryEnd = 0x00;      // first byte: no entries from here on
inline constexpr std::uint8_t kEntryDeleted = 0xE5;  // first byte: a free slot

// Local time in DOS form: date = (year - 1980) << 9 | month << 5 | day, time = hour << 11 |
// minute << 5 | second / 2.
struct DosTimestamp {
  std::uint16_t date = 0;
  std::uint16_t time = 0;

  // Years outside 1980..2107 are clamped to those ends.
  static DosTimestamp From(int year, int month, int day, int hour, int minute, int second);
  int Year() const { return 1980 + (date >> 9); }
  int Month() const { return (date >> 5) & 0x0F; }
  int Day() const { return date & 0x1F; }
  int Hour() const { return time >> 11; }
  int Minute() const { return (time >> 5) & 0x3F; }
  int Second() const { return (time & 0x1F) * 2; }
};

struct DirEntry {
  ShortName name{};  // as stored; a first byte of 05h stands for E5h
  std::uint8_t attributes = 0;
  DosTimestamp written;
  std::uint32_t firstCluster = 0;  // 0 for an empty file and for the root
  std::uint32_t size = 0;

  bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
  bool IsDotEntry() const { return name[0] == '.'; }
};

DirEntry DecodeEntry(const std::uint8_t* slot);
// Sets the fields DirEntry holds and leaves the slot's other bytes (creation time, access
// date) as they are.
void EncodeEntry(const DirEntry& entry, std::uint8_t* slot);

}  // namespace disk::fat
