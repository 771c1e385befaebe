// The MFD image format in its two revisions. Both share the fixed part of the header (signature,
// comment, header size and write-protect byte) and then the track table: R0 holds the sector
// records of 163 tracks x 26 places there, R1 the offsets of one block per track.
#pragma once

#include <cstdint>
#include <vector>

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
inline constexpr char kNewImageComment[] = "New FD Image";

}  // namespace mfd

struct UniformLayout;

bool IsMfdR0(const std::uint8_t* probe, ImageReader& reader);
bool IsMfdR1(const std::uint8_t* probe, ImageReader& reader);
bool LoadMfdR0(ImageReader& reader, FloppyTables& tables);
bool LoadMfdR1(ImageReader& reader, FloppyTables& tables);

// Takes comment and write protection from a header and marks the disk as an MFD image of the
// given revision, which a track format rewrites.
void ApplyMfdHeader(FloppyTables& tables, const std::uint8_t* header, std::uint32_t revision);

// Where the data area of an MFD image of the given revision begins: fixed for R0, the header
// size field for R1. False when that field cannot be read.
bool MfdDataStart(ImageReader& reader, std::uint32_t revision, std::uint32_t& start);

// Bytes the MFD header of the tables' revision takes; 0 for a revision other than R0 and R1.
std::uint32_t ImageHeaderSize(const FloppyTables& tables);
// Writes the MFD header of the tables' revision from the tables; returns the number of bytes,
// 0 when the buffer is too small or the revision unknown.
std::uint32_t BuildImageHeader(const FloppyTables& tables, std::uint8_t* buffer,
                               std::uint32_t capacity);
// The whole image of the tables' revision: the header, then for each record that holds a sector
// its data (every repeat copy), and in R1 the data of each special read after its track's
// sectors, all read from `data` at the records' data offsets. Empty when the revision is unknown.
std::vector<std::uint8_t> BuildMfdImage(const FloppyTables& tables, ImageReader& data);

// The mfd::kR0HeaderSize bytes of a new R0 image: comment "New FD Image", writable, the sectors
// of `medium` on its tracks, or no sector at all when medium is null (an unformatted disk).
void BuildNewMfdHeader(const UniformLayout* medium, std::uint8_t* header);

// The parts of the writers, one revision each.
void PutMfdFixedFields(std::uint8_t* header, const char* signature, const char* comment,
                       std::uint8_t writeProtect);
std::uint32_t BuildMfdR0Header(const FloppyTables& tables, std::uint8_t* header);
std::uint32_t MfdR1HeaderSize(const FloppyTables& tables);
std::uint32_t BuildMfdR1Header(const FloppyTables& tables, std::uint8_t* header);

}  // namespace disk
