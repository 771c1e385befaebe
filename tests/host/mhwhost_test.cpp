// mhwhost run as a user runs it, on images made here.
#include "host/module_fixture.h"

namespace testing_support {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string output;  // stdout and stderr
};

// Runs mhwhost, which lies beside the test program, with `arguments` (a shell's words).
Outcome RunMhwhost(const std::string& arguments, const std::string& program = "") {
#if defined(_WIN32)
  const std::string name = program.empty() ? "mhwhost.exe" : program;
#else
  const std::string name = program.empty() ? "./mhwhost" : program;
#endif
  Outcome outcome;
  outcome.status = RunCommand(name + " " + arguments, &outcome.output);
  return outcome;
}

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

// The last line of the output that holds `text` (the summary on stderr comes after the run's
// account on stdout), or empty.
std::string LastLineWith(const std::string& output, const std::string& text) {
  const std::size_t at = output.rfind(text);
  if (at == std::string::npos) return "";
  const std::size_t begin = output.rfind('\n', at) + 1;  // npos + 1 = 0
  return output.substr(begin, output.find('\n', at) - begin);
}

class MhwhostRun : public ModuleTest {
 protected:
  Outcome RunOn(const std::string& iniText, const std::string& options = "--write") {
    WriteText(ini, "[DISK]\n" + iniText);
    return RunMhwhost(options + " " + Quoted(ini));
  }
};

TEST_F(MhwhostRun, EveryBadInputEndsWithItsReasonOnOneLine) {
  const std::string missing = dir.File("missing.hdm");
  Bytes truncatedMfd = BuildR0(UniformDisk(1, 8, 3));
  truncatedMfd.resize(1000);
  SetVariable("DISK_RAW_DRIVE_A", missing);
  struct Case {
    std::string ini;  // the lines of [DISK]
    int status;
    std::string reason;
  } cases[] = {
      {"DISK00=\nFDWAIT=1\n", 3, "names no disk"},
      {"DISK00=" + missing + "\n", 1, "(DISK00=" + missing + "): NOT MOUNTED: file missing"},
      {"DISK01=" + dir.path() + "\n", 1,
       "floppy 2 (DISK01=" + dir.path() + "): NOT MOUNTED: a folder"},
      {"DISK00=" + ImageFile("odd.bin", Bytes(5000, 0x42)) + "\n", 1,
       "NOT MOUNTED: unknown format"},
      {"DISK00=" + ImageFile("tiny.hdm", Bytes(100, 1)) + "\n", 1, "NOT MOUNTED: too short"},
      {"DISK00=" + ImageFile("cut.mfd", truncatedMfd) + "\n", 1, "too short for its MFD header"},
      {"DISK02=" + missing + "\n", 1, "hard disk 1 (DISK02=" + missing + "): NOT MOUNTED: file"},
      {"DISK03=" + ImageFile("tiny.hdi", Bytes(300, 0)) + "\n", 1, "NOT MOUNTED: too short"},
      {"DISK02=" + ImageFile("flat.mhd", MhdImage(10, 0, 17, 512, Bytes(8192, 0))) + "\n", 1,
       "NOT MOUNTED: zero heads"},
      {"DISK00=A\nblnImage00=0\nszFdd00=a\n", 1, "the medium of real drive A ("},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    const Outcome run = RunOn(c.ini, "");
    EXPECT_EQ(run.status, c.status) << run.output;
    EXPECT_EQ(LastLineWith(run.output, c.reason).rfind("mhwhost: ", 0), 0u) << run.output;
    EXPECT_EQ(run.output.find("checks passed"), std::string::npos) << run.output;
  }
  SetVariable("DISK_RAW_DRIVE_A", "");
  EXPECT_EQ(RunMhwhost(Quoted(dir.File("none.ini"))).status, 3);
  WriteText(ini, "[OTHER]\nDISK00=x\n");
  EXPECT_EQ(RunMhwhost(Quoted(ini)).status, 3);
}

DiskSpec Floppy(int cylinders, int sectors, std::uint8_t n, bool fmTrack0 = false) {
  DiskSpec disk = UniformDisk(cylinders, sectors, n);
  if (fmTrack0)
    for (SectorSpec& s : disk.tracks[0].sectors) {
      s.N = 0;
      s.mfm = 0;
    }
  return disk;
}

// Each floppy layout the module reads, as a raw dump in drive 1 and as a D88 image in drive 2,
// with the layout mhwhost must find on it; a hard disk of each format beside the first three.
TEST_F(MhwhostRun, EveryFloppySizeRawAndD88AndEveryHardDiskPassWithWrites) {
  struct Layout {
    DiskSpec disk;
    const char* found;
  } layouts[] = {
      {Floppy(80, 8, 2), "160 tracks of 8 sectors of 512 bytes (MFM, DA/UA 0x70)"},
      {Floppy(80, 9, 2), "160 tracks of 9 sectors of 512 bytes (MFM, DA/UA 0x70)"},
      {Floppy(77, 26, 1, true),
       "1 track of 26 sectors of 128 bytes (FM, DA/UA 0x90), 153 tracks of 26 sectors of 256"},
      {Floppy(77, 26, 1), "154 tracks of 26 sectors of 256 bytes (MFM, DA/UA 0x90)"},
      {Floppy(80, 15, 2), "160 tracks of 15 sectors of 512 bytes (MFM, DA/UA 0x90)"},
      {Floppy(77, 8, 3), "154 tracks of 8 sectors of 1024 bytes (MFM, DA/UA 0x90)"},
      {Floppy(77, 9, 3), "154 tracks of 9 sectors of 1024 bytes (MFM, DA/UA 0x90)"},
      {Floppy(80, 18, 2), "160 tracks of 18 sectors of 512 bytes (MFM, DA/UA 0x30)"},
  };
  const Bytes data = PatternBytes(4 * 8 * 33 * 256, 7);
  const std::string hardDisks[] = {ImageFile("hd.zhd", ZhdImage(4, data)),
                                   ImageFile("hd.mhd", MhdImage(2, 4, 17, 512, data)),
                                   ImageFile("hd.hdi", HdiImage(2, 8, 17, 256, data))};
  for (std::size_t i = 0; i < std::size(layouts); ++i) {
    SCOPED_TRACE(layouts[i].found);
    const std::string raw = ImageFile("raw.img", BuildHeaderless(layouts[i].disk));
    const std::string d88 = ImageFile("disk.d88", BuildD88(layouts[i].disk));
    const Outcome run =
        RunOn("DISK00=" + raw + "\nDISK01=" + d88 + "\nFDWAIT=" + std::to_string(i % 2) +
              "\nDISK02=" + (i < std::size(hardDisks) ? hardDisks[i] : "") + "\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("floppy 1: " + std::string(layouts[i].found)), std::string::npos);
    EXPECT_NE(run.output.find("floppy 2: " + std::string(layouts[i].found)), std::string::npos);
    EXPECT_NE(run.output.find("checks passed"), std::string::npos) << run.output;
  }
}

// MFD images in both revisions, a dump behind a 4096-byte leading block, a read-only floppy and
// hard disk whose writes must be refused, and a floppy dump taken for a ZHD hard disk, which
// passes with a warning and does not grow.
TEST_F(MhwhostRun, MfdLeadingBlockReadOnlyAndOversizedZhdPass) {
  Bytes leading(4096, 0xAA);
  const Bytes dump = BuildHeaderless(Floppy(80, 9, 2));
  leading.insert(leading.end(), dump.begin(), dump.end());
  const std::string readOnly = ImageFile("ro.hdm", BuildHeaderless(Floppy(80, 18, 2)));
  const std::string readOnlyDisk = ImageFile("ro.zhd", ZhdImage(2, PatternBytes(2 * 8 * 33 * 256)));
  for (const auto& path : {readOnly, readOnlyDisk})
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  Bytes floppyDump = BuildHeaderless(Floppy(77, 8, 3));
  floppyDump[0] = 0xEB, floppyDump[1] = 0x3C;  // a boot jump: 15595 ZHD cylinders
  const std::string zhd = ImageFile("dump.zhd", floppyDump);
  const struct {
    std::string ini, expected;
  } runs[] = {
      {"DISK00=" + ImageFile("r0.mfd", BuildR0(Floppy(77, 8, 3))) +
           "\nDISK01=" + ImageFile("r1.mfd", BuildR1(Floppy(80, 18, 2))) + "\n",
       "floppy 2: 160 tracks of 18 sectors of 512 bytes (MFM, DA/UA 0x30)"},
      {"DISK00=" + ImageFile("lead.fdi", leading) + "\nDISK01=" + readOnly +
           "\nDISK02=" + readOnlyDisk + "\nDISK03=" + zhd + "\n",
       "write refused (AH 70) on a write-protected image; the file is untouched"},
  };
  std::string output;
  for (const auto& r : runs) {
    const Outcome run = RunOn(r.ini);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(r.expected), std::string::npos) << run.output;
    output = run.output;
  }
  EXPECT_NE(LastLineWith(output, "warning:").find("describe 15595 cylinders"), std::string::npos)
      << output;
  EXPECT_NE(output.find("hard disk 1: last track in the file (cylinder 1, head 7): write refused"),
            std::string::npos);
  EXPECT_EQ(fs::file_size(zhd), floppyDump.size());
  for (const auto& path : {readOnly, readOnlyDisk})
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}

#if !defined(_WIN32)
// Started through PATH by a link in a folder without disk.mhw, it still finds the module.
TEST_F(MhwhostRun, TheModuleIsFoundBesideTheRealProgram) {
  fs::create_symlink(fs::current_path() / "mhwhost", dir.File("mh"));
  WriteText(ini, "[DISK]\nDISK00=" + ImageFile("fd.hdm", BuildHeaderless(Floppy(80, 8, 2))) + "\n");
  const Outcome run = RunMhwhost(Quoted(ini), "cd " + Quoted(dir.path()) + " && PATH=.:$PATH mh");
  EXPECT_EQ(run.status, 0) << run.output;
}
#endif

}  // namespace
}  // namespace testing_support
