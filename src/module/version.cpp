#include "module/version.h"

#include <cstring>

namespace disk {

namespace {
constexpr char kBanner[] =
    "DISK 10/05/25 : uPD765A/uPD8237 floppy controller, disk BIOS and image files. "
    "Free software, provided as is, without warranty.";
static_assert(sizeof kBanner <= 256, "the host's buffer holds 256 bytes");
}  // namespace

std::uint32_t WriteVersionBanner(char* buffer) {
  std::memcpy(buffer, kBanner, sizeof kBanner);
  return static_cast<std::uint32_t>(sizeof kBanner - 1);
}

}  // namespace disk
