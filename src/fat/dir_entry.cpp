#include "fat/dir_entry.h"

#include <algorithm>
#include <cstring>

#include "formats/byte_fields.h"

namespace disk::fat {

DosTimestamp DosTimestamp::From(int year, int month, int day, int hour, int minute, int second) {
  const int y = std::clamp(year, 1980, 2107) - 1980;
  DosTimestamp t;
  t.date = static_cast<std::uint16_t>((y << 9) | ((month & 0x0F) << 5) | (day & 0x1F));
  t.time = static_cast<std::uint16_t>(((hour & 0x1F) << 11) | ((minute & 0x3F) << 5) |
                                      ((second / 2) & 0x1F));
  return t;
}

DirEntry DecodeEntry(const std::uint8_t* slot) {
  DirEntry e;
  std::memcpy(e.name.data(), slot, e.name.size());
  e.attributes = slot[0x0B];
  e.written.time = LoadU16(slot + 0x16);
  e.written.date = LoadU16(slot + 0x18);
  e.firstCluster = LoadU16(slot + 0x1A);
  e.size = LoadU32(slot + 0x1C);
  return e;
}

void EncodeEntry(const DirEntry& e, std::uint8_t* slot) {
  std::memcpy(slot, e.name.data(), e.name.size());
  slot[0x0B] = e.attributes;
  StoreU16(slot + 0x16, e.written.time);
  StoreU16(slot + 0x18, e.written.date);
  StoreU16(slot + 0x1A, e.firstCluster);
  StoreU32(slot + 0x1C, e.size);
}

}  // namespace disk::fat
