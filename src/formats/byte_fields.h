// The fields of image headers and records: little-endian numbers, NUL-terminated text and
// signatures. Every format reads and writes its bytes through these.
#pragma once

#include <cstddef>
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

inline void StoreU16(std::uint8_t* p, std::uint32_t value) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void StoreU32(std::uint8_t* p, std::uint32_t value) {
  StoreU16(p, value);
  StoreU16(p + 2, value >> 16);
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

// True when `bytes` begin with `signature` and its NUL: "ZEBFDDIMAGE.R0x" is no MFD image.
inline bool HasSignature(const std::uint8_t* bytes, const char* signature) {
  return std::memcmp(bytes, signature, std::strlen(signature) + 1) == 0;
}

}  // namespace disk
