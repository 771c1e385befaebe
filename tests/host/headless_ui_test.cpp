// Without a window system the module runs headless: no panel, and the user-interface entry
// points do nothing.
#if !defined(_WIN32)
#include "host/module_fixture.h"

namespace {

class HeadlessUiTest : public testing_support::ModuleTest {};

TEST_F(HeadlessUiTest, NoPanelAndQuietEntryPoints) {
  const std::string text = "[DISK]\nblnImage00=0\nszFdd00=B\n";
  Attach(text);
  EXPECT_EQ(host->panelWindow, nullptr);
  host->menus[0].click();  // would press the panel's Set button
  char label[16] = {};
  host->menus[0].label(label);
  EXPECT_STREQ(label, "Set   ");
  host->module().deviceConfig(nullptr);
  host->Boot();
  host->PowerOff();
  EXPECT_EQ(testing_support::ReadText(ini), text);
}

}  // namespace
#endif
