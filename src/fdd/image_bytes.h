// Little-endian fields of image headers and records, and the comment rule shared by the formats.
#pragma once

#include <cstdint>
#include <cstring>

namespace disk {

inline std::uint16_t LoadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t LoadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Copies a NUL-terminated text field of fieldSize bytes into a comment of commentSize bytes: it
// stops at the field's NUL, at the end of the field, or when the comment is full, and always
// terminates the comment.
inline void CopyTextField(char* comment, std::size_t commentSize, const std::uint8_t* field,
                          std::size_t fieldSize) {
  std::size_t length = 0;
  while (length < fieldSize && length + 1 < commentSize && field[length] != 0) ++length;
  std::memcpy(comment, field, length);
  comment[length] = '\0';
}

}  // namespace disk
