// The ready-change interrupt that the mounting code asks the controller for.
#include <gtest/gtest.h>

#include "fdc/controller_rig.h"
#include "support/fdc_guest.h"

namespace {

TEST(ReadyChangeTest, InterruptsOnTheThirdTickWithNothingForSenseToReport) {
  testing_support::ControllerRig rig;
  testing_support::FdcGuest fdc(rig);
  rig.fdc.ReportReadyChange(1, false);
  rig.Tick(2);
  EXPECT_TRUE(rig.TakeInterruptLines().empty());
  rig.Tick(1);
  EXPECT_EQ(rig.TakeInterruptLines(), (std::vector<std::uint32_t>{3}));
  EXPECT_EQ(rig.fdc.st0, 0xC9);  // what the BIOS's interrupt service reads
  EXPECT_EQ(rig.In(testing_support::kFdcStatus), 0x80);
  fdc.Command({0x08});
  EXPECT_EQ(rig.In(testing_support::kFdcData), 0x80);
}

}  // namespace
