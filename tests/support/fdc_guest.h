// The guest's side of the floppy controller's handshake, for any machine that offers the
// guest's port access and the host's ticks: Out(port, value), In(port), Tick(count) and
// TakeInterruptLines(). Every byte waits for the main status the controller must show for it,
// and a wrong one fails the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace testing_support {

inline constexpr std::uint16_t kFdcStatus = 0x90;
inline constexpr std::uint16_t kFdcData = 0x92;

template <typename Machine>
class FdcGuest {
 public:
  explicit FdcGuest(Machine& machine) : m_(machine) {}

  // Command bytes need RQM with DIO clear.
  void Command(std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t byte : bytes) {
      const std::uint8_t status = m_.In(kFdcStatus);
      EXPECT_EQ(status & 0xC0, 0x80)
          << "main status " << int(status) << " before byte " << int(byte);
      m_.Out(kFdcData, byte);
    }
  }
  // Result bytes need 0xD0; the command phase follows the last one.
  std::vector<std::uint8_t> Results(int count) {
    std::vector<std::uint8_t> results;
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(m_.In(kFdcStatus), 0xD0) << "before result byte " << i;
      results.push_back(m_.In(kFdcData));
    }
    EXPECT_EQ(m_.In(kFdcStatus), 0x80) << "after the result phase";
    return results;
  }
  // A command that ends with an interrupt: the bytes, the interrupt on the third tick (not
  // before), then the seven result bytes.
  std::vector<std::uint8_t> Run(std::initializer_list<std::uint8_t> bytes) {
    Command(bytes);
    EXPECT_EQ(m_.In(kFdcStatus), 0x30) << "execution phase until the interrupt";
    m_.Tick(2);
    EXPECT_TRUE(m_.TakeInterruptLines().empty()) << "interrupt before the third tick";
    m_.Tick(1);
    EXPECT_EQ(m_.TakeInterruptLines().size(), 1u) << "no interrupt on the third tick";
    return Results(7);
  }
  // Seek, its interrupt, then sense interrupt status: ST0 and PCN.
  std::vector<std::uint8_t> SeekTo(std::uint8_t unitByte, std::uint8_t cylinder) {
    Command({0x0F, unitByte, cylinder});
    m_.Tick(3);
    m_.TakeInterruptLines();
    EXPECT_EQ(m_.In(kFdcStatus), 0x80 | (1 << (unitByte & 3)));
    Command({0x08});
    return Results(2);
  }
  // Sense interrupt status with nothing to report: no result phase, one invalid-command byte.
  void ExpectNothingToReport() {
    Command({0x08});
    EXPECT_EQ(m_.In(kFdcStatus), 0x80);
    EXPECT_EQ(m_.In(kFdcData), 0x80);
    EXPECT_EQ(m_.In(kFdcStatus), 0x80);
  }
  // A DMA channel programmed through its ports: address (24 bits), count (bytes - 1), unmasked.
  void ProgramDma(int channel, std::uint32_t address, std::uint16_t count) {
    static constexpr std::uint16_t kBankPorts[4] = {0x27, 0x21, 0x23, 0x25};
    const auto base = static_cast<std::uint16_t>(channel * 4 + 1);
    m_.Out(0x19, 0);
    m_.Out(base, static_cast<std::uint8_t>(address));
    m_.Out(base, static_cast<std::uint8_t>(address >> 8));
    m_.Out(kBankPorts[channel], static_cast<std::uint8_t>(address >> 16));
    m_.Out(static_cast<std::uint16_t>(base + 2), static_cast<std::uint8_t>(count));
    m_.Out(static_cast<std::uint16_t>(base + 2), static_cast<std::uint8_t>(count >> 8));
    m_.Out(0x15, static_cast<std::uint8_t>(channel));
  }
  // A channel's address or count register, read through the flip-flop.
  std::uint16_t DmaRegister(std::uint16_t port) {
    m_.Out(0x19, 0);
    const std::uint8_t low = m_.In(port);
    return static_cast<std::uint16_t>(low | m_.In(port) << 8);
  }

 private:
  Machine& m_;
};

}  // namespace testing_support
