// The DMA controller's transfers as the floppy controller uses them, on a channel the guest
// programmed through the ports.
#include <gtest/gtest.h>

#include <numeric>

#include "fdc/controller_rig.h"
#include "support/fdc_guest.h"

namespace {

using testing_support::ControllerRig;
using Bytes = std::vector<std::uint8_t>;

Bytes Counting(std::size_t size) {
  Bytes bytes(size);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
  return bytes;
}

class DmaTransferTest : public ::testing::Test {
 protected:
  std::uint16_t Read16(std::uint16_t port) { return guest.DmaRegister(port); }
  ControllerRig rig;
  testing_support::FdcGuest<ControllerRig> guest{rig};
};

TEST_F(DmaTransferTest, CountCarriesOverCallsAndStopsAtTerminalCount) {
  guest.ProgramDma(2, 0x4000, 99);
  const Bytes source = Counting(512);
  EXPECT_TRUE(rig.dma.TransferToMemory(2, source.data(), 512));
  EXPECT_EQ(rig.Memory(0x4000, 101), [&] {
    Bytes moved(source.begin(), source.begin() + 100);
    moved.push_back(0);
    return moved;
  }());
  EXPECT_EQ(Read16(0x0B), 0xFFFF);
  EXPECT_EQ(Read16(0x09), 0x4000 + 100);
  // Nothing left: the next call moves nothing and reports terminal count again.
  EXPECT_TRUE(rig.dma.TransferToMemory(2, source.data(), 512));
  EXPECT_EQ(rig.memory()[0x4000 + 100], 0);

  // 1023 = two 512-byte sectors: the first call leaves the channel running.
  guest.ProgramDma(2, 0x8000, 1023);
  EXPECT_FALSE(rig.dma.TransferToMemory(2, source.data(), 512));
  EXPECT_EQ(Read16(0x0B), 511);
  EXPECT_TRUE(rig.dma.TransferToMemory(2, source.data(), 512));
}

TEST_F(DmaTransferTest, AllOnesCountMovesNothing) {
  guest.ProgramDma(3, 0x4000, 0xFFFF);
  Bytes destination(16, 0xEE);
  rig.memory()[0x4000] = 0x55;
  EXPECT_TRUE(rig.dma.TransferFromMemory(3, destination.data(), 16));
  EXPECT_EQ(destination, Bytes(16, 0xEE));
  EXPECT_EQ(Read16(0x0D), 0x4000);
}

TEST_F(DmaTransferTest, ReadsFromMemoryUpToTerminalCountOnly) {
  guest.ProgramDma(1, 0x2000, 3);
  for (int i = 0; i < 8; ++i) rig.memory()[0x2000 + i] = static_cast<std::uint8_t>(0xA0 + i);
  Bytes destination(8, 0);
  EXPECT_TRUE(rig.dma.TransferFromMemory(1, destination.data(), 8));
  EXPECT_EQ(destination, (Bytes{0xA0, 0xA1, 0xA2, 0xA3, 0, 0, 0, 0}));
}

TEST_F(DmaTransferTest, AddressWrapsIntoTheNextBank) {
  guest.ProgramDma(0, 0x1FFFE, 3);
  const Bytes source = Counting(4);
  EXPECT_TRUE(rig.dma.TransferToMemory(0, source.data(), 4));
  EXPECT_EQ(rig.Memory(0x1FFFE, 4), source);
  EXPECT_EQ(Read16(0x01), 0x0002);
  // The bank register moved on too: a further transfer lands in bank 2.
  rig.Out(0x19, 0);
  rig.Out(0x03, 0);
  rig.Out(0x03, 0);
  EXPECT_TRUE(rig.dma.TransferToMemory(0, source.data(), 1));
  EXPECT_EQ(rig.memory()[0x20002], source[0]);
}

TEST_F(DmaTransferTest, MasksFromBothMaskPorts) {
  const Bytes source = Counting(4);
  for (int channel = 0; channel < 4; ++channel)
    guest.ProgramDma(channel, 0x1000u * (channel + 1), 0xFF);
  rig.Out(0x1F, 0x05);  // channels 0 and 2 masked, 1 and 3 not
  for (int channel = 0; channel < 4; ++channel) {
    const bool masked = channel == 0 || channel == 2;
    EXPECT_EQ(rig.dma.TransferToMemory(channel, source.data(), 4), masked) << channel;
    EXPECT_EQ(rig.memory()[0x1000u * (channel + 1)], masked ? 0 : 1) << channel;
  }
  // A masked channel keeps its registers.
  EXPECT_EQ(Read16(0x09), 0x3000);
  EXPECT_EQ(Read16(0x0B), 0xFF);
  rig.Out(0x15, 0x02);  // unmask channel 2
  EXPECT_FALSE(rig.dma.TransferToMemory(2, source.data(), 4));
  rig.Out(0x15, 0x06);  // mask it again
  EXPECT_TRUE(rig.dma.TransferToMemory(2, source.data(), 4));
  EXPECT_EQ(Read16(0x09), 0x3004);
  // A machine reset unmasks every channel.
  rig.dma.Reset();
  EXPECT_FALSE(rig.dma.TransferToMemory(0, source.data(), 4));
}

}  // namespace
