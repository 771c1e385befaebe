// Sector data between the controller's buffer and a drive's backing store.
#pragma once

#include <cstdint>

namespace disk {

class FloppyDrive;

// Fills `length` bytes of buffer from the drive's data at offset; bytes the store cannot give
// read as 0.
void ReadSectorData(FloppyDrive& drive, std::uint32_t offset, std::uint8_t* buffer,
                    std::uint32_t length);
// False when the backing store did not take the bytes.
bool WriteSectorData(FloppyDrive& drive, std::uint32_t offset, const std::uint8_t* buffer,
                     std::uint32_t length);

}  // namespace disk
