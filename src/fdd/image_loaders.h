// The floppy image formats. Each loader turns the bytes of an image, seen through an
// ImageReader, into a drive's tables and its comment, writeProtect, reformattable and revision.
// They expect emptied tables (FloppyDrive::ClearTables) and return false when the image is
// unusable; they never open, close or keep a file.
#pragma once

#include <cstdint>

#include "fdd/image_reader.h"

namespace disk {

class FloppyDrive;

inline constexpr std::uint32_t kProbeSize = 288;       // bytes read before the format is chosen
inline constexpr std::uint32_t kLeadingBlock = 4096;   // skipped block of headerless images
inline constexpr std::uint32_t kR0HeaderSize = 68112;  // header of an MFD R0 image
inline constexpr std::uint32_t kR1FixedHeader = 960;   // fixed part of an MFD R1 header
inline constexpr std::uint32_t kD88HeaderSize = 688;
inline constexpr char kR0Signature[] = "ZEBFDDIMAGE.R0";  // with its NUL: 15 bytes
inline constexpr char kR1Signature[] = "ZEBFDDIMAGE.R1";
inline constexpr char kHeaderlessComment[] = "NORMAL FDIMAGE";

// A disk of identical tracks: a headerless dump or a real drive.
struct UniformLayout {
  std::uint32_t imageSize;  // headerless: the file size that selects it (0 for a real drive)
  std::uint8_t cylinders;
  std::uint8_t sectorsPerTrack;
  std::uint8_t n;
  bool fmTrackZero;  // cylinder 0 side 0 holds 128-byte FM sectors instead
};

// Chooses the format by content alone and loads it.
bool ParseImage(ImageReader& reader, FloppyDrive& drive);

bool LoadMfdR0(ImageReader& reader, FloppyDrive& drive);
bool LoadMfdR1(ImageReader& reader, FloppyDrive& drive);
bool LoadD88(ImageReader& reader, FloppyDrive& drive);

// The headerless layout whose size, or size + 4096, is fileSize; null when none is.
const UniformLayout* FindHeaderlessLayout(std::uint64_t fileSize);
void LoadHeaderless(const UniformLayout& layout, std::uint32_t dataStart, FloppyDrive& drive);

// Fills tracks [0, trackLimit) and slots [0, slotLimit) with the layout's sectors, data placed
// one after another from dataStart; places without a sector get the empty record.
void FillUniformTracks(FloppyDrive& drive, const UniformLayout& layout, std::uint32_t dataStart,
                       int trackLimit, int slotLimit);

}  // namespace disk
