#include "formats/floppy_tables.h"

#include <algorithm>
#include <iterator>

namespace disk {

void FloppyTables::ClearTables() {
  for (auto& track : sectors) std::fill(std::begin(track), std::end(track), kClearedSlot);
  for (auto& list : specials) std::fill(std::begin(list), std::end(list), kEndOfList);
}

std::uint32_t FloppyTables::SectorsOnTrack(int track) const {
  std::uint32_t count = 0;
  while (count < kSlotsPerTrack && !sectors[track][count].IsEmpty()) ++count;
  return count;
}

}  // namespace disk
