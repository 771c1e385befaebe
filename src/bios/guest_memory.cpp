#include "bios/guest_memory.h"

#include <cstring>

#include "bios/host_link.h"

namespace disk {
namespace {

// Every copy costs the host a fixed 10000 plus one per double word.
void Charge(const HostLink& host, std::int32_t count) {
  if (host.chargeCost != nullptr) host.chargeCost(count / 4 + 10000);
}

}  // namespace

void CopyToGuest(const HostLink& host, std::uint32_t segment, std::uint32_t offset,
                 const void* source, std::int32_t count) {
  Charge(host, count);
  if (count <= 0 || host.writeDwordSeg == nullptr) return;
  const auto* p = static_cast<const std::uint8_t*>(source);
  for (std::int32_t i = 0; i < count / 4; ++i, offset += 4, p += 4) {
    std::uint32_t value;
    std::memcpy(&value, p, 4);  // the guest's byte order is the buffer's
    host.writeDwordSeg(segment, offset, value);
  }
  if ((count & 2) != 0) {
    host.writeWordSeg(segment, offset, static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
    offset += 2;
    p += 2;
  }
  if ((count & 1) != 0) host.writeByteSeg(segment, offset, p[0]);
}

void CopyFromGuest(const HostLink& host, void* destination, std::uint32_t segment,
                   std::uint32_t offset, std::int32_t count) {
  Charge(host, count);
  if (count <= 0 || host.readDwordSeg == nullptr) return;
  auto* p = static_cast<std::uint8_t*>(destination);
  for (std::int32_t i = 0; i < count / 4; ++i, offset += 4, p += 4) {
    std::uint32_t value = host.readDwordSeg(segment, offset);
    std::memcpy(p, &value, 4);
  }
  if ((count & 2) != 0) {
    std::uint16_t value = host.readWordSeg(segment, offset);
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    offset += 2;
    p += 2;
  }
  if ((count & 1) != 0) p[0] = host.readByteSeg(segment, offset);
}

std::uint8_t ReadGuestByte(const HostLink& host, std::uint32_t linear) {
  return host.readByteLinear != nullptr ? host.readByteLinear(linear) : 0;
}

void ReadGuestBytes(const HostLink& host, std::uint32_t linear, std::uint8_t* destination,
                    std::uint32_t count) {
  std::uint32_t i = 0;
  if (host.readDwordLinear != nullptr) {
    for (; count - i >= 4; i += 4) {
      const std::uint32_t value = host.readDwordLinear(linear + i);
      for (std::uint32_t b = 0; b < 4; ++b)  // little-endian whatever the module's host is
        destination[i + b] = static_cast<std::uint8_t>(value >> (8 * b));
    }
  }
  for (; i < count; ++i) destination[i] = ReadGuestByte(host, linear + i);
}

void WriteGuestByte(const HostLink& host, std::uint32_t linear, std::uint8_t value) {
  if (host.writeByteLinear != nullptr) host.writeByteLinear(linear, value);
}

std::uint16_t ReadGuestWord(const HostLink& host, std::uint32_t linear) {
  return static_cast<std::uint16_t>(ReadGuestByte(host, linear) |
                                    (ReadGuestByte(host, linear + 1) << 8));
}

void WriteGuestWord(const HostLink& host, std::uint32_t linear, std::uint16_t value) {
  WriteGuestByte(host, linear, static_cast<std::uint8_t>(value));
  WriteGuestByte(host, linear + 1, static_cast<std::uint8_t>(value >> 8));
}

void WriteFarPointer(const HostLink& host, std::uint32_t linear, std::uint16_t segment,
                     std::uint16_t offset) {
  WriteGuestWord(host, linear, offset);
  WriteGuestWord(host, linear + 2, segment);
}

}  // namespace disk
