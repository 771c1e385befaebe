// The same cases hold for the POSIX profile layer and, under Wine, for the Windows functions.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace {

using testing_support::ReadText;
using testing_support::ScratchDir;
using testing_support::WriteText;

class ProfileTest : public ::testing::Test {
 protected:
  std::string Read(const char* section, const char* key, const char* fallback = "<default>",
                   unsigned size = 260) {
    char buffer[300];
    std::uint32_t n = platform::ReadProfileValue(section, key, fallback, buffer, size, ini.c_str());
    EXPECT_EQ(n, std::string(buffer).size());
    return buffer;
  }
  void Write(const char* section, const char* key, const char* value) {
    ASSERT_TRUE(platform::WriteProfileValue(section, key, value, ini.c_str()));
  }

  ScratchDir dir;
  std::string ini = dir.File("host.ini");
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(Read("DISK", "DISK00"), "<default>");
  WriteText(ini, "[OTHER]\nDISK00=x\n");
  EXPECT_EQ(Read("DISK", "DISK00"), "<default>");
  WriteText(ini, "[DISK]\nDISK01=x\n");
  EXPECT_EQ(Read("DISK", "DISK00"), "<default>");
}

TEST_F(ProfileTest, NamesMatchWhateverTheirCase) {
  WriteText(ini, "[disk]\r\nDisk00=a.mfd\r\n");
  EXPECT_EQ(Read("DISK", "DISK00"), "a.mfd");
  EXPECT_EQ(Read("Disk", "disk00"), "a.mfd");
}

TEST_F(ProfileTest, PresentEmptyValueReadsEmptyNotDefault) {
  WriteText(ini, "[DISK]\nblnImage00=\n");
  EXPECT_EQ(Read("DISK", "blnImage00", "1"), "");
}

TEST_F(ProfileTest, ValuesAreTrimmedAndUnquoted) {
  WriteText(ini, "[DISK]\n  DISK00 =   C:\\IMG\\A.MFD   \nDISK01=\"quoted value\"\nDISK02='x'\n");
  EXPECT_EQ(Read("DISK", "DISK00"), "C:\\IMG\\A.MFD");
  EXPECT_EQ(Read("DISK", "DISK01"), "quoted value");
  EXPECT_EQ(Read("DISK", "DISK02"), "x");
}

TEST_F(ProfileTest, LongValuesAreCutToTheBuffer) {
  WriteText(ini, "[DISK]\nDISK00=" + std::string(300, 'x') + "\n");
  EXPECT_EQ(Read("DISK", "DISK00"), std::string(259, 'x'));
  EXPECT_EQ(Read("DISK", "DISK00", "", 5), "xxxx");
}

TEST_F(ProfileTest, WritingCreatesTheFileAndSection) {
  Write("DISK", "FDWAIT", "1");
  EXPECT_EQ(Read("DISK", "FDWAIT"), "1");
  Write("DISK", "DISK00", "a.mfd");
  EXPECT_EQ(Read("DISK", "FDWAIT"), "1");
  EXPECT_EQ(Read("DISK", "DISK00"), "a.mfd");
}

TEST_F(ProfileTest, WritingAKeyKeepsEveryOtherLine) {
  WriteText(ini,
            "; host settings\r\n[MAIN]\r\nCPU=V30\r\n\r\n[DISK]\r\nDISK00=old.mfd\r\n"
            "LASTPATHFDD=C:\\IMG\\\r\n\r\n[SOUND]\r\nVOLUME=7\r\n");
  Write("disk", "DISK00", "new.mfd");
  Write("DISK", "FDWAIT", "0");
  Write("VIDEO", "MODE", "2");
  EXPECT_EQ(Read("MAIN", "CPU"), "V30");
  EXPECT_EQ(Read("DISK", "DISK00"), "new.mfd");
  EXPECT_EQ(Read("DISK", "LASTPATHFDD"), "C:\\IMG\\");
  EXPECT_EQ(Read("DISK", "FDWAIT"), "0");
  EXPECT_EQ(Read("SOUND", "VOLUME"), "7");
  EXPECT_EQ(Read("VIDEO", "MODE"), "2");
  std::string text = ReadText(ini);
  EXPECT_NE(text.find("; host settings"), std::string::npos);
  EXPECT_EQ(text.find("old.mfd"), std::string::npos);
  // The new key lands in its own section, before the next one.
  EXPECT_LT(text.find("FDWAIT"), text.find("[SOUND]"));
}

TEST_F(ProfileTest, FirstOfRepeatedKeysCounts) {
  WriteText(ini, "[DISK]\nDISK00=first\nDISK00=second\n");
  EXPECT_EQ(Read("DISK", "DISK00"), "first");
}

}  // namespace
