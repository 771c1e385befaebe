// Headerless sector dumps, told apart by their size alone, with or without a 4096-byte leading
// block (as FDI images carry), and the uniform track layout they share with real drives.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "formats/floppy_tables.h"
#include "formats/image_reader.h"

namespace disk {
namespace headerless {

inline constexpr std::uint32_t kLeadingBlock = 4096;  // skipped block in front of the data
inline constexpr char kComment[] = "NORMAL FDIMAGE";

// The leading block as FDI images (ANEX86) fill it: eight 32-bit words, then zeros. The loaders
// skip it; a disk of other geometry than its size says is not described by it.
inline constexpr std::uint32_t kFdiMediaOffset = 4;  // the media type byte of the disk's class
inline constexpr std::uint32_t kFdiHeaderSizeOffset = 8;
inline constexpr std::uint32_t kFdiDataSizeOffset = 12;
inline constexpr std::uint32_t kFdiSectorSizeOffset = 16;
inline constexpr std::uint32_t kFdiSectorsOffset = 20;
inline constexpr std::uint32_t kFdiHeadsOffset = 24;
inline constexpr std::uint32_t kFdiCylindersOffset = 28;

}  // namespace headerless

// A disk of identical tracks: a headerless dump or a real drive.
struct UniformLayout {
  std::uint32_t imageSize;  // headerless: the file size that selects it (0 for a real drive)
  std::uint8_t cylinders;
  std::uint8_t sectorsPerTrack;
  std::uint8_t n;
  bool fmTrackZero;  // cylinder 0 side 0 holds 128-byte FM sectors instead
};

// Every headerless layout, in the order they are tried.
std::span<const UniformLayout> HeaderlessLayouts();

// The headerless layout whose size, or size + 4096, is fileSize; null when none is.
const UniformLayout* FindHeaderlessLayout(std::uint64_t fileSize);

bool IsHeaderless(const std::uint8_t* probe, ImageReader& reader);
bool LoadHeaderless(ImageReader& reader, FloppyTables& tables);

// The record of slot `slot` of a track of the layout: its sector with the given data offset, or
// the empty record where the layout has none.
SectorRecord UniformRecord(const UniformLayout& layout, int track, int slot,
                           std::uint32_t dataOffset);

// Fills tracks [0, trackLimit) and slots [0, slotLimit) with the layout's sectors, data placed
// one after another from dataStart; places without a sector get the empty record.
void FillUniformTracks(FloppyTables& tables, const UniformLayout& layout, std::uint32_t dataStart,
                       int trackLimit, int slotLimit);

// The dump of the tables in a layout: for each of the layout's tracks its sectors R = 1, 2, ...
// of the layout's size, each the first copy of the first such sector on the track in slot order,
// zeros where the track has none. With fdiHeader the FDI leading block comes first.
std::vector<std::uint8_t> BuildHeaderlessImage(const FloppyTables& tables, ImageReader& data,
                                               const UniformLayout& layout, bool fdiHeader);
void BuildFdiHeader(const UniformLayout& layout, std::uint8_t (&block)[headerless::kLeadingBlock]);

}  // namespace disk
