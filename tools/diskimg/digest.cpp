#include "digest.h"

#include <algorithm>
#include <cstdio>

namespace diskimg {
namespace {

std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

std::uint32_t Rotl(std::uint32_t x, int n) {
  return (x << n) | (x >> (32 - n));
}

std::string HexOf(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  char two[3];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(two, sizeof two, "%02x", bytes[i]);
    text += two;
  }
  return text;
}

}  // namespace

void Crc32::Update(std::span<const std::uint8_t> bytes) {
  static const std::array<std::uint32_t, 256> table = MakeCrcTable();
  for (std::uint8_t b : bytes) state_ = table[(state_ ^ b) & 0xFF] ^ (state_ >> 8);
}

std::string Crc32::Hex() const {
  const std::uint32_t v = Value();
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v >> 24),
                                 static_cast<std::uint8_t>(v >> 16),
                                 static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
  return HexOf(bytes, 4);
}

Sha1::Sha1() : h_{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0} {}

void Sha1::Block(const std::uint8_t* block) {
  std::uint32_t w[80];
  for (int i = 0; i < 16; ++i)
    w[i] = static_cast<std::uint32_t>(block[4 * i]) << 24 | block[4 * i + 1] << 16 |
           block[4 * i + 2] << 8 | block[4 * i + 3];
  for (int i = 16; i < 80; ++i) w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
  std::uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4];
  for (int i = 0; i < 80; ++i) {
    std::uint32_t f, k;
    if (i < 20) {
      f = (b & c) | (~b & d), k = 0x5A827999;
    } else if (i < 40) {
      f = b ^ c ^ d, k = 0x6ED9EBA1;
    } else if (i < 60) {
      f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d, k = 0xCA62C1D6;
    }
    const std::uint32_t t = Rotl(a, 5) + f + e + k + w[i];
    e = d, d = c, c = Rotl(b, 30), b = a, a = t;
  }
  h_[0] += a, h_[1] += b, h_[2] += c, h_[3] += d, h_[4] += e;
}

void Sha1::Update(std::span<const std::uint8_t> bytes) {
  length_ += bytes.size();
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (buffered_ == 0 && bytes.size() - at >= buffer_.size()) {
      Block(bytes.data() + at);  // whole blocks straight from the input
      at += buffer_.size();
      continue;
    }
    const std::size_t piece = std::min(buffer_.size() - buffered_, bytes.size() - at);
    std::copy_n(bytes.data() + at, piece, buffer_.data() + buffered_);
    buffered_ += piece;
    at += piece;
    if (buffered_ == buffer_.size()) {
      Block(buffer_.data());
      buffered_ = 0;
    }
  }
}

std::array<std::uint8_t, 20> Sha1::Finish() {
  const std::uint64_t bits = length_ * 8;
  const std::uint8_t one = 0x80, zero = 0;
  Update({&one, 1});
  while (buffered_ != 56) Update({&zero, 1});
  std::uint8_t tail[8];
  for (int i = 0; i < 8; ++i) tail[i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
  Update(tail);
  std::array<std::uint8_t, 20> digest{};
  for (int i = 0; i < 20; ++i)
    digest[i] = static_cast<std::uint8_t>(h_[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

std::string Sha1::FinishHex() {
  const auto digest = Finish();
  return HexOf(digest.data(), digest.size());
}

}  // namespace diskimg
