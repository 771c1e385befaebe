// CRC-32 (the zip and PNG polynomial) and SHA-1 of a stream of bytes, as image catalogues list
// them, so that a checked image can be compared with a published dump.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace diskimg {

class Crc32 {
 public:
  void Update(std::span<const std::uint8_t> bytes);
  std::uint32_t Value() const { return ~state_; }
  std::string Hex() const;

 private:
  std::uint32_t state_ = 0xFFFFFFFF;
};

class Sha1 {
 public:
  Sha1();
  void Update(std::span<const std::uint8_t> bytes);
  // Ends the message; the object is spent afterwards.
  std::array<std::uint8_t, 20> Finish();
  std::string FinishHex();

 private:
  void Block(const std::uint8_t* block);

  std::array<std::uint32_t, 5> h_;
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;
};

// Both at once over the same bytes.
struct Digests {
  Crc32 crc;
  Sha1 sha;
  void Update(std::span<const std::uint8_t> bytes) {
    crc.Update(bytes);
    sha.Update(bytes);
  }
};

}  // namespace diskimg
