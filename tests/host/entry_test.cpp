// The module as the host sees it right after loading.
#include <cstring>

#include "host/module_fixture.h"

namespace {

using mhwhost::Registration;
using EntryTest = testing_support::ModuleTest;

TEST_F(EntryTest, RegistersHandlersHooksPortsTheTickAndMenusInOrder) {
  Attach();
  const auto& regs = host->registrations;
  std::vector<Registration::Kind> kinds;  // one entry for each run, ports of both kinds as kOut
  for (const auto& r : regs) {
    const auto kind = r.kind == Registration::kIn ? Registration::kOut : r.kind;
    if (kinds.empty() || kinds.back() != kind) kinds.push_back(kind);
  }
  EXPECT_EQ(kinds, (std::vector<Registration::Kind>{
                       Registration::kReset, Registration::kStartup, Registration::kSave,
                       Registration::kLoad, Registration::kPowerOff, Registration::kInterrupt,
                       Registration::kOut, Registration::kTick, Registration::kMenu}));
  EXPECT_EQ(regs[2].a, 1053u);  // the snapshot's size
  // 256 INT 1Bh hooks in AH order, then INT 13h and INT 12h for each AH.
  for (std::uint32_t i = 0; i < 3 * 256; ++i) {
    const Registration& r = regs[5 + i];
    ASSERT_EQ(r.a * 0x100 + r.b,
              i < 256 ? 0x1B00 + i : ((i - 256) % 2 ? 0x1200 : 0x1300) + (i - 256) / 2);
  }
  EXPECT_EQ(regs[regs.size() - 2].kind, Registration::kMenu);
  const MhwDiskBiosExtension* extension = host->biosExtension();
  ASSERT_NE(extension, nullptr);
  EXPECT_NE(extension->RegisterDiskBiosHandler, nullptr);
  for (MhwWord handler : extension->handlers) EXPECT_EQ(handler, 0u);
}

TEST_F(EntryTest, MenuItemsFollowTheDriveSettingsAndTheBannerNamesTheModule) {
  Attach("[DISK]\nblnImage00=0\nszFdd00=B\nblnImage01=1\n");
  ASSERT_EQ(host->menus.size(), 2u);
  EXPECT_EQ(host->menus[0].id * 100 + host->menus[1].id, 405u);
  EXPECT_EQ(host->menus[0].caption + host->menus[1].caption, "FDD1FDD2");
  char label[32];
  std::memset(label, 'x', sizeof label);
  // A real drive starts without media after SetPath.
  EXPECT_EQ(host->menus[0].label(label), 7u);
  EXPECT_STREQ(label, "Set   ");
  EXPECT_EQ(host->menus[1].label(label), 7u);
  EXPECT_STREQ(label, "  --  ");
  host->menus[0].click();  // without a panel window the click has nothing to press

  char buffer[256];
  std::memset(buffer, 0x7F, sizeof buffer);
  std::uint32_t length = host->module().deviceVer(buffer);
  EXPECT_EQ(std::strncmp(buffer, "DISK 10/05/25", 13), 0);
  EXPECT_EQ(length, std::strlen(buffer));
#if !defined(_WIN32)
  // Without a window system the module runs headless: no panel, the dialogs do nothing and the
  // settings stay as they were.
  EXPECT_EQ(host->panelWindow, nullptr);
  host->module().deviceConfig(nullptr);
  host->Boot();
  host->PowerOff();
  EXPECT_EQ(testing_support::ReadText(ini), "[DISK]\nblnImage00=0\nszFdd00=B\nblnImage01=1\n");
#endif
}

}  // namespace
