// The floppy controller's interrupt as the BIOS serves it (INT 12h / 13h): the controller's
// results in the unit's eight work-area bytes, the unit's bit in 0x55E, the controller back in
// its command phase; and the interrupt of a disk inserted while the machine runs.
#include "host/bios_fixture.h"
#include "support/fdc_guest.h"

namespace {

using testing_support::BiosTest;
using testing_support::FdcGuest;
using testing_support::PatternBytes;

constexpr std::size_t kFloppySize = 1261568;  // 1.2 MB headerless: 77 × 2 × 8 × 1024

class InterruptServiceTest : public BiosTest {
 protected:
  void BootFloppy() {
    BootWith(ImageFile("disk.hdm", PatternBytes(kFloppySize, 9)), "", "", "");
    host->TakeInterruptLines();
  }
  std::uint32_t Serve(std::uint8_t vector, std::uint8_t ah) {
    host->registers()[mhw::reg::kAH] = ah;
    return host->RaiseSoftwareInterrupt(vector);
  }
};

TEST_F(InterruptServiceTest, ASeekEndReportsThePresentCylinder) {
  BootFloppy();
  FdcGuest<mhwhost::ReferenceHost> fdc(*host);
  const auto unit1 = host->ReadBlock(0x56C, 8);
  fdc.Command({0x0F, 0x00, 5});  // seek unit 0 to cylinder 5
  host->Tick(3);
  ASSERT_EQ(host->TakeInterruptLines().size(), 1u);
  host->WriteByte(0x55E, 0xF0);
  EXPECT_EQ(Serve(0x13, 0x00), mhw::kBiosNoCarry);
  const auto bytes = host->ReadBlock(0x564, 8);
  EXPECT_EQ(bytes[0], 0x20);               // ST0: seek end, unit 0
  EXPECT_EQ(bytes[1], 5);                  // PCN in place of ST1
  EXPECT_EQ(bytes[3], 5);                  // the drive's cylinder
  EXPECT_EQ(bytes[4], 0);                  // its side
  EXPECT_EQ(bytes[7], 5);                  // NCN
  EXPECT_EQ(host->ReadByte(0x55E), 0x01);  // the whole byte
  EXPECT_EQ(host->ReadBlock(0x56C, 8), unit1);
  EXPECT_EQ(host->In(0x90) & 0xC0, 0x80);  // ready for a command
}

TEST_F(InterruptServiceTest, OtherResultsGiveST1AndTheLastId) {
  BootFloppy();
  FdcGuest<mhwhost::ReferenceHost> fdc(*host);
  auto results = fdc.Run({0x4A, 0x00});  // READ ID, MFM, unit 0, head 0
  ASSERT_EQ(results.size(), 7u);
  EXPECT_EQ(Serve(0x12, 0x77), mhw::kBiosNoCarry);  // either vector, any AH
  const auto bytes = host->ReadBlock(0x564, 8);
  EXPECT_EQ(bytes[0], results[0]);
  EXPECT_EQ(bytes[1], results[1]);  // ST1: no seek end
  EXPECT_EQ(bytes[2], results[2]);
  EXPECT_EQ(bytes[3], 0);           // cylinder 0
  EXPECT_EQ(bytes[5], results[5]);  // R
  EXPECT_EQ(bytes[6], 3);           // N: 1024-byte sectors
}

}  // namespace
