#pragma once

#include <cstdint>

namespace disk {

// Writes the version banner with its NUL; returns its length without the NUL.
std::uint32_t WriteVersionBanner(char* buffer);

}  // namespace disk
