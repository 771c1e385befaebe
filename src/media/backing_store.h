// Where every sector transfer of the floppy drives goes: the unit's image file, or the real drive
// the unit is set to. Callers always seek to a sector's data offset and then move its bytes.
#pragma once

#include <cstdint>

namespace disk {

class DiskSystem;
struct RealDriveRecord;

// What the Windows 9x absolute disk service is asked for: whole sectors of the media's size.
struct SectorSpan {
  std::uint32_t drive;  // 0 = A
  std::uint32_t startSector;
  std::uint32_t sectors;
};
SectorSpan Vwin32Span(const RealDriveRecord& record, std::uint32_t count);

// Image unit: the file position becomes offset. Real drive: the next transfer starts at byte
// `offset` of the disk.
void SeekDrive(DiskSystem& system, std::uint32_t unit, std::uint32_t file, std::uint32_t offset);
// count bytes from the current position. Reads from image files and real drives on the NT
// family report success whatever moved (a short read leaves the rest of the buffer as it was);
// a write to an image file fails unless the file took every byte.
bool ReadDrive(DiskSystem& system, std::uint32_t unit, std::uint32_t file, void* buffer,
               std::uint32_t count);
bool WriteDrive(DiskSystem& system, std::uint32_t unit, std::uint32_t file, const void* buffer,
                std::uint32_t count);

}  // namespace disk
