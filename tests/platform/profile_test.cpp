// The same cases hold for the POSIX profile layer and, under Wine, for the Windows functions.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace {

using namespace testing_support;

class ProfileTest : public ::testing::Test {
 protected:
  std::string Read(const char* section, const char* key, unsigned size = 260) {
    char buffer[300];
    std::uint32_t n =
        platform::ReadProfileValue(section, key, "<default>", buffer, size, ini.c_str());
    EXPECT_EQ(n, std::string(buffer).size());
    return buffer;
  }
  void Write(const char* section, const char* key, const char* value) {
    ASSERT_TRUE(platform::WriteProfileValue(section, key, value, ini.c_str()));
  }

  ScratchDir dir;
  std::string ini = dir.File("host.ini");
};

// Each file's text and what DISK00 of [DISK] reads in it.
TEST_F(ProfileTest, ValuesAreFoundWhateverTheCaseTrimmedUnquotedAndCut) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "<default>"},  // no file
      {"[OTHER]\nDISK00=x\n", "<default>"},
      {"[DISK]\nDISK01=x\n", "<default>"},
      {"[disk]\r\nDisk00=a.mfd\r\n", "a.mfd"},
      {"[DISK]\nDISK00=\n", ""},  // present and empty: not the default
      {"[DISK]\n  DISK00 =   C:\\IMG\\A.MFD   \n", "C:\\IMG\\A.MFD"},
      {"[DISK]\nDISK00=\"quoted value\"\n", "quoted value"},
      {"[DISK]\nDISK00='x'\n", "x"},
      {"[DISK]\nDISK00=first\nDISK00=second\n", "first"},
      {"[DISK]\nDISK00=" + std::string(300, 'x') + "\n", std::string(259, 'x')},
  };
  for (const auto& [text, value] : cases) {
    if (!text.empty()) WriteText(ini, text);
    EXPECT_EQ(Read("Disk", "disk00"), value) << text;
  }
  EXPECT_EQ(Read("DISK", "DISK00", 5), "xxxx");
}

TEST_F(ProfileTest, WritingCreatesTheFileAndKeepsEveryOtherLine) {
  Write("DISK", "FDWAIT", "1");
  Write("DISK", "DISK00", "a.mfd");
  EXPECT_EQ(Read("DISK", "FDWAIT") + Read("DISK", "DISK00"), "1a.mfd");
  WriteText(ini,
            "; host settings\r\n[MAIN]\r\nCPU=V30\r\n\r\n[DISK]\r\nDISK00=old.mfd\r\n"
            "LASTPATHFDD=C:\\IMG\\\r\n\r\n[SOUND]\r\nVOLUME=7\r\n");
  Write("disk", "DISK00", "new.mfd");
  Write("DISK", "FDWAIT", "0");
  Write("VIDEO", "MODE", "2");
  EXPECT_EQ(Read("MAIN", "CPU") + Read("DISK", "DISK00") + Read("DISK", "LASTPATHFDD") +
                Read("DISK", "FDWAIT") + Read("SOUND", "VOLUME") + Read("VIDEO", "MODE"),
            "V30new.mfdC:\\IMG\\072");
  std::string text = ReadText(ini);
  EXPECT_NE(text.find("; host settings"), std::string::npos);
  EXPECT_EQ(text.find("old.mfd"), std::string::npos);
  // The new key lands in its own section, before the next one.
  EXPECT_LT(text.find("FDWAIT"), text.find("[SOUND]"));
}

}  // namespace
