#include "bios/guest_memory.h"

#include <cstring>

#include "machine/disk_system.h"

namespace disk {
namespace {

// Every copy costs the host a fixed 10000 plus one per double word.
void Charge(const DiskSystem& system, std::int32_t count) {
  if (system.chargeCost != nullptr) system.chargeCost(count / 4 + 10000);
}

}  // namespace

void CopyToGuest(DiskSystem& system, std::uint32_t segment, std::uint32_t offset,
                 const void* source, std::int32_t count) {
  Charge(system, count);
  if (count <= 0 || system.writeDwordSeg == nullptr) return;
  const auto* p = static_cast<const std::uint8_t*>(source);
  for (std::int32_t i = 0; i < count / 4; ++i, offset += 4, p += 4) {
    std::uint32_t value;
    std::memcpy(&value, p, 4);  // the guest's byte order is the buffer's
    system.writeDwordSeg(segment, offset, value);
  }
  if ((count & 2) != 0) {
    system.writeWordSeg(segment, offset, static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
    offset += 2;
    p += 2;
  }
  if ((count & 1) != 0) system.writeByteSeg(segment, offset, p[0]);
}

void CopyFromGuest(DiskSystem& system, void* destination, std::uint32_t segment,
                   std::uint32_t offset, std::int32_t count) {
  Charge(system, count);
  if (count <= 0 || system.readDwordSeg == nullptr) return;
  auto* p = static_cast<std::uint8_t*>(destination);
  for (std::int32_t i = 0; i < count / 4; ++i, offset += 4, p += 4) {
    std::uint32_t value = system.readDwordSeg(segment, offset);
    std::memcpy(p, &value, 4);
  }
  if ((count & 2) != 0) {
    std::uint16_t value = system.readWordSeg(segment, offset);
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    offset += 2;
    p += 2;
  }
  if ((count & 1) != 0) p[0] = system.readByteSeg(segment, offset);
}

}  // namespace disk
