#include "formats/floppy_tables.h"

#include <algorithm>
#include <iterator>

namespace disk {

FloppyTables::FloppyTables() : comment{}, reformattable(0), revision(0), writeProtect(0) {
  // Emptied in full once; from then on only what was written is emptied again.
  for (auto& track : sectors) std::fill(std::begin(track), std::end(track), kClearedSlot);
  for (auto& list : specials) std::fill(std::begin(list), std::end(list), kEndOfList);
  std::fill(std::begin(usedSlots), std::end(usedSlots), 0);
  std::fill(std::begin(usedSpecials), std::end(usedSpecials), 0);
}

void FloppyTables::FillSlots(int track, int from, int to, const SectorRecord& record) {
  if (from >= to) return;
  std::fill(sectors[track] + from, sectors[track] + to, record);
  if (to > usedSlots[track]) usedSlots[track] = static_cast<std::uint16_t>(to);
}

void FloppyTables::ClearTables() {
  for (int track = 0; track < kTrackCount; ++track) {
    std::fill(sectors[track], sectors[track] + usedSlots[track], kClearedSlot);
    usedSlots[track] = 0;
    ClearSpecials(track);
  }
}

void FloppyTables::ClearSpecials(int track) {
  std::fill(specials[track], specials[track] + usedSpecials[track], kEndOfList);
  usedSpecials[track] = 0;
}

std::uint32_t FloppyTables::SectorsOnTrack(int track) const {
  std::uint32_t count = 0;
  while (count < usedSlots[track] && !sectors[track][count].IsEmpty()) ++count;
  return count;
}

}  // namespace disk
