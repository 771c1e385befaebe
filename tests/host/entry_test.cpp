// The module as the host sees it right after loading: what it registers, its menu items, its
// banner and the drive report of a reset.
#include <algorithm>
#include <cstring>
#include <vector>

#include "host/module_fixture.h"

namespace {

using mhwhost::Registration;
using testing_support::ModuleTest;

class EntryTest : public ModuleTest {};

TEST_F(EntryTest, RegistersHandlersHooksAndPortsInOrder) {
  Attach();
  const auto& regs = host->registrations;
  ASSERT_GE(regs.size(), 5u);
  EXPECT_EQ(regs[0].kind, Registration::kReset);
  EXPECT_EQ(regs[1].kind, Registration::kStartup);
  EXPECT_EQ(regs[2].kind, Registration::kSave);
  EXPECT_EQ(regs[2].a, 1053u);
  EXPECT_EQ(regs[3].kind, Registration::kLoad);
  EXPECT_EQ(regs[4].kind, Registration::kPowerOff);

  // 256 INT 1Bh hooks in AH order, then INT 13h and INT 12h for each AH.
  std::size_t i = 5;
  for (std::uint32_t ah = 0; ah < 256; ++ah, ++i) {
    ASSERT_EQ(regs[i].kind, Registration::kInterrupt);
    ASSERT_EQ(regs[i].a, 0x1Bu);
    ASSERT_EQ(regs[i].b, ah);
  }
  for (std::uint32_t ah = 0; ah < 256; ++ah) {
    for (std::uint32_t interrupt : {0x13u, 0x12u}) {
      ASSERT_EQ(regs[i].kind, Registration::kInterrupt);
      ASSERT_EQ(regs[i].a, interrupt);
      ASSERT_EQ(regs[i].b, ah);
      ++i;
    }
  }
  EXPECT_NE(host->Hook(0x1B, 0x56), nullptr);
  EXPECT_NE(host->Hook(0x12, 0xFF), nullptr);
  EXPECT_EQ(host->Hook(0x1C, 0), nullptr);

  std::vector<std::uint32_t> dmaOut = {0x01, 0x03, 0x05, 0x07, 0x09, 0x0B, 0x0D, 0x0F,
                                       0x11, 0x13, 0x15, 0x17, 0x19, 0x1B, 0x1D, 0x1F,
                                       0x21, 0x23, 0x25, 0x27, 0x29, 0x439};
  std::vector<std::uint32_t> dmaIn = {0x01, 0x03, 0x05, 0x07, 0x09, 0x0B, 0x0D, 0x0F,
                                      0x11, 0x1B, 0x21, 0x23, 0x25, 0x27, 0x439};
  std::vector<std::uint32_t> fdcOut = {0x92, 0x94, 0xBE, 0xCA, 0xCC, 0x4BE};
  std::vector<std::uint32_t> fdcIn = {0x90, 0x92, 0x94, 0xBE, 0xC8, 0xCA, 0xCC, 0x4BE};
  std::vector<std::uint32_t> out, in;
  for (;
       i < regs.size() && (regs[i].kind == Registration::kOut || regs[i].kind == Registration::kIn);
       ++i)
    (regs[i].kind == Registration::kOut ? out : in).push_back(regs[i].a);
  std::vector<std::uint32_t> allOut = dmaOut, allIn = dmaIn;
  allOut.insert(allOut.end(), fdcOut.begin(), fdcOut.end());
  allIn.insert(allIn.end(), fdcIn.begin(), fdcIn.end());
  EXPECT_EQ(out, allOut);
  EXPECT_EQ(in, allIn);

  ASSERT_LT(i + 2, regs.size());
  EXPECT_EQ(regs[i].kind, Registration::kTick);
  EXPECT_EQ(regs[i + 1].kind, Registration::kMenu);
  EXPECT_EQ(regs[i + 2].kind, Registration::kMenu);
  EXPECT_EQ(regs.size(), i + 3);
}

TEST_F(EntryTest, StoresAnEmptyDiskBiosExtension) {
  Attach();
  const MhwDiskBiosExtension* extension = host->biosExtension();
  ASSERT_NE(extension, nullptr);
  EXPECT_NE(extension->RegisterDiskBiosHandler, nullptr);
  for (MhwWord handler : extension->handlers) EXPECT_EQ(handler, 0u);
}

TEST_F(EntryTest, MenuItemsFollowTheDriveSettings) {
  Attach("[DISK]\nblnImage00=0\nszFdd00=B\nblnImage01=1\n");
  ASSERT_EQ(host->menus.size(), 2u);
  EXPECT_EQ(host->menus[0].id, 4u);
  EXPECT_EQ(host->menus[0].caption, "FDD1");
  EXPECT_EQ(host->menus[1].id, 5u);
  EXPECT_EQ(host->menus[1].caption, "FDD2");
  char label[32];
  std::memset(label, 'x', sizeof label);
  // A real drive starts without media after SetPath.
  EXPECT_EQ(host->menus[0].label(label), 7u);
  EXPECT_STREQ(label, "Set   ");
  EXPECT_EQ(host->menus[1].label(label), 7u);
  EXPECT_STREQ(label, "  --  ");
  host->menus[0].click();  // without a panel window the click has nothing to press
}

TEST_F(EntryTest, BannerNamesTheModuleAndItsDate) {
  Attach();
  char buffer[256];
  std::memset(buffer, 0x7F, sizeof buffer);
  std::uint32_t length = host->module().deviceVer(buffer);
  EXPECT_EQ(std::strncmp(buffer, "DISK 10/05/25", 13), 0);
  EXPECT_EQ(length, std::strlen(buffer));
  EXPECT_LT(length, 256u);
}

TEST_F(EntryTest, ResetReportsTheDrivesFromTheSettings) {
  std::string hdd = dir.File("hd2.img");
  testing_support::WriteAll(hdd, std::vector<std::uint8_t>(10 * 1024 * 1024, 0));
  Attach("[DISK]\nblnImage00=0\nszFdd00=A\nblnImage01=1\nDISK03=" + hdd +
         "\nDISK02=" + dir.File("gone.hdi") + "\n");
  host->Reset();
  std::vector<std::string> expected = {"DISK", "  FDD1 : Drive-A", "  FDD2 : Image file",
                                       "  HDD1 : Cannot open " + dir.File("gone.hdi"),
                                       "  HDD2 : 10485760 Bytes"};
  EXPECT_EQ(host->reportLines, expected);
}

TEST_F(EntryTest, RegisterDiskBiosHandlerRefusesOwnClassesAndTakenEntries) {
  Attach();
  auto reg = host->biosExtension()->RegisterDiskBiosHandler;
  auto handler = +[](std::uint32_t) -> std::uint32_t { return 0; };
  for (std::uint32_t own : {0x00u, 0x10u, 0x30u, 0x70u, 0x80u, 0x90u, 0xB0u})
    EXPECT_EQ(reg(own, handler), 0u) << own;
  EXPECT_EQ(reg(0x1A0, handler), 1u);  // only the low eight bits count
  EXPECT_EQ(reg(0xA0, handler), 0u);
  EXPECT_NE(host->biosExtension()->handlers[0xA], 0u);
}

}  // namespace
