// Guest memory through the host's functions: block copies by segment and offset, widest access
// first and charged to the host, and single bytes, words and far pointers by linear address (the
// BIOS work area, the parameter tables).
#pragma once

#include <cstdint>

namespace disk {

struct HostLink;

void CopyToGuest(const HostLink& host, std::uint32_t segment, std::uint32_t offset,
                 const void* source, std::int32_t count);
void CopyFromGuest(const HostLink& host, void* destination, std::uint32_t segment,
                   std::uint32_t offset, std::int32_t count);

std::uint8_t ReadGuestByte(const HostLink& host, std::uint32_t linear);
// `count` bytes from `linear` on, a double word per host call where the host reads them, without
// a charge (as the single accesses).
void ReadGuestBytes(const HostLink& host, std::uint32_t linear, std::uint8_t* destination,
                    std::uint32_t count);
void WriteGuestByte(const HostLink& host, std::uint32_t linear, std::uint8_t value);
std::uint16_t ReadGuestWord(const HostLink& host, std::uint32_t linear);
void WriteGuestWord(const HostLink& host, std::uint32_t linear, std::uint16_t value);
// A far pointer (offset word, then segment word) at `linear`.
void WriteFarPointer(const HostLink& host, std::uint32_t linear, std::uint16_t segment,
                     std::uint16_t offset);

}  // namespace disk
