// Headerless sector dumps, told apart by their size alone, with or without a 4096-byte leading
// block (as FDI images carry), and the uniform track layout they share with real drives.
#pragma once

#include <cstdint>

#include "formats/floppy_tables.h"
#include "formats/image_reader.h"

namespace disk {
namespace headerless {

inline constexpr std::uint32_t kLeadingBlock = 4096;  // skipped block in front of the data
inline constexpr char kComment[] = "NORMAL FDIMAGE";

}  // namespace headerless

// A disk of identical tracks: a headerless dump or a real drive.
struct UniformLayout {
  std::uint32_t imageSize;  // headerless: the file size that selects it (0 for a real drive)
  std::uint8_t cylinders;
  std::uint8_t sectorsPerTrack;
  std::uint8_t n;
  bool fmTrackZero;  // cylinder 0 side 0 holds 128-byte FM sectors instead
};

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

}  // namespace disk
