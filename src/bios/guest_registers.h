// Named access to a GuestRegisters block (the host's live one or the module's saved copy): the
// byte and word registers a disk BIOS call reads and writes, and the segment records.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/host_abi.h"

namespace disk {

class RegisterView {
 public:
  explicit RegisterView(std::uint8_t* block) : block_(block) {}

  std::uint8_t AL() const { return block_[mhw::reg::kAL]; }
  std::uint8_t AH() const { return block_[mhw::reg::kAH]; }
  std::uint8_t CL() const { return block_[mhw::reg::kCL]; }
  std::uint8_t CH() const { return block_[mhw::reg::kCH]; }
  std::uint8_t DL() const { return block_[mhw::reg::kDL]; }
  std::uint8_t DH() const { return block_[mhw::reg::kDH]; }
  std::uint16_t BX() const { return Word(mhw::reg::kBX); }
  std::uint16_t CX() const { return Word(mhw::reg::kCX); }
  std::uint16_t DX() const { return Word(mhw::reg::kDX); }
  std::uint16_t BP() const { return Word(mhw::reg::kBP); }
  std::uint16_t ES() const { return Word(mhw::reg::kES + mhw::reg::kSegmentValue); }
  std::uint32_t EsBase() const { return Dword(mhw::reg::kES); }

  void SetAL(std::uint8_t value) { block_[mhw::reg::kAL] = value; }
  void SetAH(std::uint8_t value) { block_[mhw::reg::kAH] = value; }
  void SetCL(std::uint8_t value) { block_[mhw::reg::kCL] = value; }
  void SetCH(std::uint8_t value) { block_[mhw::reg::kCH] = value; }
  void SetDL(std::uint8_t value) { block_[mhw::reg::kDL] = value; }
  void SetDH(std::uint8_t value) { block_[mhw::reg::kDH] = value; }
  void SetBX(std::uint16_t value) { SetWord(mhw::reg::kBX, value); }
  void SetCX(std::uint16_t value) { SetWord(mhw::reg::kCX, value); }
  void SetBP(std::uint16_t value) { SetWord(mhw::reg::kBP, value); }
  void SetIP(std::uint16_t value) { SetWord(mhw::reg::kIP, value); }
  // A real-mode segment register: the value and its linear base (value × 16).
  void SetSegment(unsigned record, std::uint16_t value) {
    const std::uint32_t base = static_cast<std::uint32_t>(value) << 4;
    std::memcpy(block_ + record, &base, 4);
    SetWord(record + mhw::reg::kSegmentValue, value);
  }

  std::uint8_t* block() const { return block_; }

 private:
  std::uint16_t Word(unsigned at) const {
    return static_cast<std::uint16_t>(block_[at] | (block_[at + 1] << 8));
  }
  std::uint32_t Dword(unsigned at) const {
    return Word(at) | (static_cast<std::uint32_t>(Word(at + 2)) << 16);
  }
  void SetWord(unsigned at, std::uint16_t value) {
    block_[at] = static_cast<std::uint8_t>(value);
    block_[at + 1] = static_cast<std::uint8_t>(value >> 8);
  }

  std::uint8_t* block_;
};

}  // namespace disk
