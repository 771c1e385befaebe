// The floppy controller's interrupt as the BIOS serves it (INT 12h / 13h).
#include "host/module_fixture.h"

namespace {

using namespace testing_support;
using InterruptServiceTest = ModuleTest;

TEST_F(InterruptServiceTest, ASeekEndReportsThePresentCylinderOtherResultsTheLastId) {
  auto Serve = [this](std::uint8_t vector, std::uint8_t ah) {
    host->registers()[mhw::reg::kAH] = ah;
    return host->RaiseSoftwareInterrupt(vector);
  };
  BootWith(ImageFile("disk.hdm", PatternBytes(kFloppySize, 9)));
  const auto unit1 = host->ReadBlock(0x56C, 8);
  Command({0x0F, 0x00, 5});  // seek unit 0 to cylinder 5
  host->Tick(3);
  ASSERT_EQ(host->TakeInterruptLines().size(), 1u);
  host->WriteByte(0x55E, 0xF0);
  EXPECT_EQ(Serve(0x13, 0x00), mhw::kBiosNoCarry);
  // ST0 (seek end, unit 0), PCN in place of ST1, the drive's cylinder and side, NCN.
  const auto seek = host->ReadBlock(0x564, 8);
  EXPECT_EQ(Bytes({seek[0], seek[1], seek[3], seek[4], seek[7]}), (Bytes{0x20, 5, 5, 0, 5}));
  EXPECT_EQ(host->ReadByte(0x55E), 0x01);  // the whole byte
  EXPECT_EQ(host->ReadBlock(0x56C, 8), unit1);
  EXPECT_EQ(host->In(0x90) & 0xC0, 0x80);  // ready for a command

  const Bytes results = Fdc({0x4A, 0x00});          // READ ID, MFM, unit 0, head 0
  EXPECT_EQ(Serve(0x12, 0x77), mhw::kBiosNoCarry);  // either vector, any AH
  const auto id = host->ReadBlock(0x564, 8);
  EXPECT_EQ(Bytes({id[0], id[1], id[2], id[3], id[5], id[6]}),
            Bytes({results[0], results[1], results[2], 5, results[5], 3}));
}

}  // namespace
