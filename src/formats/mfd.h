// The MFD image format in its two revisions. Both share the fixed part of the header (signature,
// comment, header size and write-protect byte) and then the track table: R0 holds the sector
// records of 163 tracks x 26 places there, R1 the offsets of one block per track.
#pragma once

#include <cstdint>

#include "formats/floppy_tables.h"
#include "formats/image_reader.h"

namespace disk {
namespace mfd {

inline constexpr char kR0Signature[] = "ZEBFDDIMAGE.R0";  // with its NUL: 15 bytes
inline constexpr char kR1Signature[] = "ZEBFDDIMAGE.R1";
inline constexpr std::uint32_t kCommentOffset = 0x10;
inline constexpr std::uint32_t kCommentSize = 256;
inline constexpr std::uint32_t kHeaderSizeOffset = 0x110;
inline constexpr std::uint32_t kWriteProtectOffset = 0x114;
inline constexpr std::uint32_t kVersionByteOffset = 0x115;  // written as 2, never read
inline constexpr std::uint8_t kVersionByte = 2;
inline constexpr std::uint32_t kTrackTableOffset = 0x120;
inline constexpr std::uint32_t kRecordSize = 16;  // sector, special and block-head records

inline constexpr int kR0Tracks = 163;                  // tracks 0 to 162; 163 has no place
inline constexpr int kR0Places = 26;                   // records of one track
inline constexpr std::uint32_t kR0HeaderSize = 68112;  // the whole R0 header
inline constexpr std::uint32_t kR1FixedHeader = 960;   // R1 header up to the first block

}  // namespace mfd

bool IsMfdR0(const std::uint8_t* probe, ImageReader& reader);
bool IsMfdR1(const std::uint8_t* probe, ImageReader& reader);
bool LoadMfdR0(ImageReader& reader, FloppyTables& tables);
bool LoadMfdR1(ImageReader& reader, FloppyTables& tables);

// Takes comment and write protection from a header and marks the disk as an MFD image of the
// given revision, which a track format rewrites.
void ApplyMfdHeader(FloppyTables& tables, const std::uint8_t* header, std::uint32_t revision);

}  // namespace disk
