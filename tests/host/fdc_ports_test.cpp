// The floppy controller and the DMA controller at the guest's ports, through the reference
// host: main status handshake, phases, interface registers and the interrupt's timing. No disk
// is mounted here; what needs one is tested with the chips on a bench of their own.
#include <optional>
#include <vector>

#include "host/module_fixture.h"
#include "support/fdc_guest.h"

namespace {

using testing_support::ModuleTest;
using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::uint32_t>;

constexpr std::uint16_t kStatus = 0x90;
constexpr std::uint16_t kData = 0x92;
constexpr std::uint16_t kControl = 0x94;

class FdcPortsTest : public ModuleTest {
 protected:
  void SetUp() override {
    Attach();
    host->Reset();
    host->TakeInterruptLines();
    fdc.emplace(*host);
  }
  void Command(std::initializer_list<std::uint8_t> bytes) { fdc->Command(bytes); }
  Bytes Results(int count) { return fdc->Results(count); }
  void ExpectNothingToReport() { fdc->ExpectNothingToReport(); }
  // The tick numbers (from 1) within `ticks` on which an interrupt arrived, with its line.
  std::vector<std::pair<int, std::uint32_t>> InterruptTicks(int ticks) {
    std::vector<std::pair<int, std::uint32_t>> seen;
    for (int t = 1; t <= ticks; ++t) {
      host->Tick();
      for (std::uint32_t line : host->TakeInterruptLines()) seen.emplace_back(t, line);
    }
    return seen;
  }

  std::optional<testing_support::FdcGuest<mhwhost::ReferenceHost>> fdc;
};

TEST_F(FdcPortsTest, ResetValuesOnEveryPort) {
  EXPECT_EQ(host->In(0x90), 0x80);
  EXPECT_EQ(host->In(0xC8), 0x80);
  EXPECT_EQ(host->In(0x94), 0x74);
  EXPECT_EQ(host->In(0xCC), 0x74);
  EXPECT_EQ(host->In(0xBE), 0x0B);
  EXPECT_EQ(host->In(0x4BE), 0xFE);
  // Nothing to report yet: the data register answers with the invalid-command byte.
  EXPECT_EQ(host->In(kData), 0x80);
  EXPECT_EQ(host->In(kStatus), 0x80);
}

TEST_F(FdcPortsTest, SeekInterruptsOnTheThirdTickThenSenseReportsIt) {
  Command({0x0F, 0x00, 0x05});
  EXPECT_EQ(host->In(kStatus), 0x30);  // execution phase until the interrupt
  EXPECT_EQ(InterruptTicks(3), (std::vector<std::pair<int, std::uint32_t>>{{3, 3}}));
  EXPECT_EQ(host->In(kStatus), 0x81);  // back to commands, drive 0 busy
  Command({0x08});
  // No disk: a not-ready seek end, the cylinder asked for.
  EXPECT_EQ(Results(2), (Bytes{0x68, 0x05}));
  // Reported once only.
  ExpectNothingToReport();
  EXPECT_TRUE(InterruptTicks(20).empty());
}

TEST_F(FdcPortsTest, RecalibrateWithForcedReadyEndsAtCylinderZero) {
  Command({0x07, 0x01});
  host->Tick(3);
  EXPECT_EQ(host->In(kStatus), 0x82);
  Command({0x08});
  EXPECT_EQ(Results(2), (Bytes{0x69, 0x00}));

  host->Out(kControl, 0x40);  // force ready
  Command({0x0F, 0x01, 0x09});
  host->Tick(3);
  Command({0x08});
  EXPECT_EQ(Results(2), (Bytes{0x69, 0x09}));  // a seek needs a disk, ready or not
  Command({0x07, 0x01});
  host->Tick(3);
  Command({0x08});
  EXPECT_EQ(Results(2), (Bytes{0x21, 0x00}));
}

TEST_F(FdcPortsTest, SenseDriveStatusAnswersAtOnceWithoutInterrupt) {
  Command({0x04, 0x05});
  EXPECT_EQ(Results(1), (Bytes{0x05}));
  host->Out(kControl, 0x40);
  Command({0x04, 0x01});
  EXPECT_EQ(Results(1), (Bytes{0x39}));  // ready, two-sided, track 0
  EXPECT_TRUE(InterruptTicks(5).empty());
}

TEST_F(FdcPortsTest, SpecifyAndUnservedCommandsLeaveTheCommandPhase) {
  Command({0x03, 0xC1, 0x46});
  EXPECT_EQ(host->In(kStatus), 0x80);
  EXPECT_TRUE(InterruptTicks(5).empty());
  // Write deleted data is not served: the byte is dropped and the next is a command again.
  Command({0x09});
  EXPECT_EQ(host->In(kData), 0x80);
  EXPECT_EQ(host->In(kStatus), 0x80);
  Command({0x04, 0x00});
  EXPECT_EQ(Results(1), (Bytes{0x00}));
}

TEST_F(FdcPortsTest, OnlyTheLowFourBitsSelectTheCommand) {
  // 0x2F is a seek: three bytes, an interrupt, then a seek end to report.
  Command({0x2F, 0x00, 0x03});
  host->Tick(3);
  EXPECT_EQ(host->In(kStatus), 0x81);
  Command({0xE8});  // sense interrupt status with high bits
  EXPECT_EQ(Results(2), (Bytes{0x68, 0x03}));
}

TEST_F(FdcPortsTest, ParameterWrittenBeforeTheInterruptRunsTheCommandAgain) {
  Command({0x0F, 0x00, 0x05});
  host->Out(kData, 0x07);  // the seek's last parameter once more
  EXPECT_EQ(InterruptTicks(4), (std::vector<std::pair<int, std::uint32_t>>{{3, 3}}));
  Command({0x08});
  EXPECT_EQ(Results(2), (Bytes{0x68, 0x07}));
}

TEST_F(FdcPortsTest, BothInterfacesReachTheOneController) {
  for (std::uint8_t byte : {0x0F, 0x01, 0x02}) {
    ASSERT_EQ(host->In(0xC8) & 0xC0, 0x80);
    host->Out(0xCA, byte);
  }
  host->Tick(3);
  EXPECT_EQ(host->In(0xC8), 0x82);
  EXPECT_EQ(host->In(0x90), 0x82);
  Command({0x08});
  EXPECT_EQ(Results(2), (Bytes{0x69, 0x02}));
}

TEST_F(FdcPortsTest, InterfaceModeChoosesTheInterruptLine) {
  host->Out(0xBE, 0x02);  // 640KB interface, DMA channel 2
  EXPECT_EQ(host->In(0xBE), 0x08);
  Command({0x07, 0x00});
  EXPECT_EQ(InterruptTicks(3), (std::vector<std::pair<int, std::uint32_t>>{{3, 2}}));
  Command({0x08});
  Results(2);

  host->Out(0x4BE, 0x10);  // not both bits: ignored
  EXPECT_EQ(host->In(0x4BE), 0xFE);
  host->Out(0x4BE, 0x11);
  EXPECT_EQ(host->In(0x4BE), 0xFF);
  EXPECT_EQ(host->In(0xBE), 0x0B);
  Command({0x07, 0x00});
  EXPECT_EQ(InterruptTicks(3), (std::vector<std::pair<int, std::uint32_t>>{{3, 2}}));
  Command({0x08});
  Results(2);

  host->Out(0xBE, 0x03);
  EXPECT_EQ(host->In(0x4BE), 0xFE);
  Command({0x07, 0x00});
  EXPECT_EQ(InterruptTicks(3), (std::vector<std::pair<int, std::uint32_t>>{{3, 3}}));
}

TEST_F(FdcPortsTest, PeriodicInterruptEveryEleventhTick) {
  host->Out(kControl, 0x06);
  const auto seen = InterruptTicks(40);
  // The check comes on the 11th tick after reset and every 11th after it; each interrupt two
  // ticks after its check.
  EXPECT_EQ(seen, (std::vector<std::pair<int, std::uint32_t>>{{13, 3}, {24, 3}, {35, 3}}));
  // A periodic interrupt leaves no seek end to report.
  ExpectNothingToReport();
}

TEST_F(FdcPortsTest, PeriodicInterruptNeedsBothBits) {
  host->Out(kControl, 0x02);
  EXPECT_TRUE(InterruptTicks(30).empty());
  host->Out(kControl, 0x04);
  EXPECT_TRUE(InterruptTicks(30).empty());
}

TEST_F(FdcPortsTest, ControlResetLeavesTheDefaultControlValue) {
  Command({0x0F, 0x00});  // half a command
  EXPECT_EQ(host->In(kStatus), 0x90);
  // Reset together with both periodic bits: the reset leaves the register at its default, so
  // no periodic interrupt follows.
  host->Out(kControl, 0x86);
  EXPECT_EQ(host->In(kStatus), 0x80);
  EXPECT_TRUE(InterruptTicks(30).empty());
  Command({0x04, 0x00});
  EXPECT_EQ(Results(1), (Bytes{0x00}));
}

TEST_F(FdcPortsTest, MachineResetDropsAPendingInterrupt) {
  Command({0x07, 0x00});
  host->Tick(1);
  host->Reset();
  EXPECT_TRUE(InterruptTicks(5).empty());
  EXPECT_EQ(host->In(kStatus), 0x80);
}

TEST_F(FdcPortsTest, DmaRegistersThroughTheirPorts) {
  EXPECT_EQ(host->In(0x439), 0x80);
  host->Out(0x19, 0);
  host->Out(0x01, 0x34);
  host->Out(0x01, 0x12);
  EXPECT_EQ(host->In(0x01), 0x34);
  EXPECT_EQ(host->In(0x01), 0x12);
  // One flip-flop for reads and writes of every register.
  host->Out(0x05, 0x78);
  EXPECT_EQ(host->In(0x07), 0x00);  // high byte of channel 1's count: the pointer moved on
  host->Out(0x05, 0x56);            // low byte again
  host->Out(0x19, 0);
  EXPECT_EQ(host->In(0x05), 0x56);
  for (std::uint16_t port : {0x1B, 0x21, 0x23, 0x25, 0x27, 0x11}) {
    host->Out(port, 0x5A);
    EXPECT_EQ(host->In(port), 0x00) << port;
  }
  host->Out(0x439, 0x3C);
  EXPECT_EQ(host->In(0x439), 0x3C);
  host->Reset();
  EXPECT_EQ(host->In(0x439), 0x80);
}

}  // namespace
