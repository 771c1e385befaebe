#include "machine/parameter_tables.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "bios/guest_memory.h"
#include "bios/work_area.h"

namespace disk {
namespace {

// The ROM area searched: segment 0xFD80 up to the end of the first megabyte.
constexpr std::uint16_t kTableSegment = 0xFD80;
constexpr std::uint32_t kRomStart = 0xFD800;
constexpr std::uint32_t kRomEnd = 0x100000;

// A 40-byte table: four words (each the offset of the table's byte 8), then this pattern.
using Pattern = std::array<std::uint8_t, 32>;
constexpr Pattern k1MPattern = {0x00, 0x00, 0x00, 0x00, 0x1A, 0x07, 0x1A, 0x1B, 0x1A, 0x0E, 0x1A,
                                0x36, 0x0F, 0x0E, 0x0F, 0x2A, 0x0F, 0x1B, 0x0F, 0x54, 0x08, 0x1B,
                                0x08, 0x3A, 0x08, 0x35, 0x08, 0x74, 0x00, 0x00, 0x00, 0x00};
constexpr Pattern k640KPattern = {0x00, 0x00, 0x00, 0x00, 0x10, 0x07, 0x10, 0x1B, 0x10, 0x0E, 0x10,
                                  0x36, 0x09, 0x0E, 0x09, 0x2A, 0x09, 0x2A, 0x09, 0x50, 0x05, 0x1B,
                                  0x05, 0x3A, 0x05, 0x35, 0x05, 0x74, 0x00, 0x00, 0x00, 0x00};
constexpr std::uint32_t kPatternAt = 8;
constexpr std::uint32_t kTableSize = kPatternAt + 32;
constexpr std::uint32_t k1MBuildAt = 0xFF2D6;
constexpr std::uint32_t k640KBuildAt = 0xFF2AE;

constexpr std::array<std::uint8_t, 26> kShortTable = {
    0x01, 0x01, 0x01, 0x08, 0xFF, 0xFF, 0x02, 0x02, 0x00, 0x00, 0x01, 0x01, 0x01,
    0x08, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00};

std::uint16_t OffsetInSegment(std::uint32_t linear) {
  return static_cast<std::uint16_t>(linear - kRomStart);
}

// Where the table with `pattern` starts: found in the ROM, else built at `buildAt`.
std::uint32_t PlaceTable(const HostLink& host, const std::vector<std::uint8_t>& rom,
                         const Pattern& pattern, std::uint32_t buildAt) {
  // The pattern opens and closes with zeros, which an empty ROM area matches everywhere: a plain
  // search would compare five bytes at each of its 10240 places.
  auto found = std::search(rom.begin(), rom.end(),
                           std::boyer_moore_searcher(pattern.begin(), pattern.end()));
  if (found != rom.end()) return kRomStart + static_cast<std::uint32_t>(found - rom.begin()) - 8;
  const std::uint16_t word = static_cast<std::uint16_t>(OffsetInSegment(buildAt) + kPatternAt);
  for (std::uint32_t i = 0; i < 4; ++i) WriteGuestWord(host, buildAt + 2 * i, word);
  for (std::uint32_t i = 0; i < pattern.size(); ++i)
    WriteGuestByte(host, buildAt + kPatternAt + i, pattern[i]);
  return buildAt;
}

// Where the two copies of the short table go: into a gap of the ROM area that neither 40-byte
// table covers (the BIOS reads all four), so that the far pointers of segment 0xFD80 reach them
// and nothing outside the area is written: right after the higher table if there is room, else
// below the lower one, else between the two. The area holds 10240 bytes and the tables 80, so one
// of the three gaps always has room for the 52 bytes; the start of the area is only the answer
// that keeps this function total.
std::uint32_t ShortTablesAt(std::uint32_t table1M, std::uint32_t table640K) {
  const std::uint32_t low = std::min(table1M, table640K), high = std::max(table1M, table640K);
  const auto size = static_cast<std::uint32_t>(2 * kShortTable.size());
  auto fits = [&](std::uint32_t at) {
    auto clear = [&](std::uint32_t table) {
      return at + size <= table || at >= table + kTableSize;
    };
    return at >= kRomStart && at + size <= kRomEnd && clear(low) && clear(high);
  };
  for (std::uint32_t at : {high + kTableSize, low - size, low + kTableSize})
    if (fits(at)) return at;
  return kRomStart;
}

}  // namespace

void SetUpDiskParameterTables(const HostLink& host) {
  std::vector<std::uint8_t> rom(kRomEnd - kRomStart);
  ReadGuestBytes(host, kRomStart, rom.data(), static_cast<std::uint32_t>(rom.size()));
  const std::uint32_t table1M = PlaceTable(host, rom, k1MPattern, k1MBuildAt);
  const std::uint32_t table640K = PlaceTable(host, rom, k640KPattern, k640KBuildAt);
  WriteFarPointer(host, work_area::k1MParameterTable, kTableSegment, OffsetInSegment(table1M));
  WriteFarPointer(host, work_area::k640KParameterTable, kTableSegment, OffsetInSegment(table640K));

  const std::uint32_t first = ShortTablesAt(table1M, table640K);
  const std::uint32_t second = first + kShortTable.size();
  for (std::uint32_t at : {first, second})
    for (std::uint32_t i = 0; i < kShortTable.size(); ++i)
      WriteGuestByte(host, at + i, kShortTable[i]);
  WriteFarPointer(host, work_area::kFirstShortTable, kTableSegment, OffsetInSegment(first));
  WriteFarPointer(host, work_area::kSecondShortTable, kTableSegment, OffsetInSegment(second));
}

}  // namespace disk
