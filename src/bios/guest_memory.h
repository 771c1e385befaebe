// Block copies between module buffers and guest memory, through the host's per-access
// functions, widest first, charging the host for each copy.
#pragma once

#include <cstdint>

namespace disk {

class DiskSystem;

void CopyToGuest(DiskSystem& system, std::uint32_t segment, std::uint32_t offset,
                 const void* source, std::int32_t count);
void CopyFromGuest(DiskSystem& system, void* destination, std::uint32_t segment,
                   std::uint32_t offset, std::int32_t count);

}  // namespace disk
