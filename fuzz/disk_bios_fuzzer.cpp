// INT 1Bh with arbitrary register blocks against mounted floppy and hard-disk images (scratch
// copies, rewritten in place before every input), with ticks, re-runs, the floppy interrupt
// service, resets and start-ups in between. The module is linked in and driven through the
// reference host. The machine is booted once; every input begins with a reset.
//
// Input: records of 13 bytes — op, AL, AH, BX, CX, DX, ES, BP (words little-endian); a short
// last record is padded with zeros. The op chooses a call, the controller's interrupt or
// (rarely) a reset with start-up, and the ticks per re-run and after the record.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "linked_module.h"
#include "reference_host.h"
#include "support/disk_images.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFloppySize = 1261568;  // 1.2 MB headerless: 77 × 2 × 8 × 1024
constexpr std::size_t kRecordSize = 13;

void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

struct Machine {
  Machine() {
    folder = (fs::temp_directory_path() / ("disk-fuzz-" + std::to_string(getpid()))).string();
    fs::create_directories(folder);
    using namespace testing_support;
    floppy = PatternBytes(kFloppySize, 1);
    // Hard disk 1: ZHD of 306 cylinders holding its first 64 KiB; hard disk 2: MHD with
    // 512-byte sectors.
    zhd = ZhdImage(306, PatternBytes(64 * 1024, 2));
    mhd = MhdImage(153, 4, 17, 512, PatternBytes(32 * 1024, 3));
    const std::string ini = Path("host.ini");
    std::ofstream(ini) << "[DISK]\nDISK00=" << Path("fd1.hdm") << "\nDISK01=" << Path("fd2.hdm")
                       << "\nDISK02=" << Path("hd1.zhd") << "\nDISK03=" << Path("hd2.mhd")
                       << "\nFDWAIT=1\n";
    RestoreImages();
    host = std::make_unique<mhwhost::ReferenceHost>();
    host->Attach(mhwhost::LinkedModule(), ini);
    host->Boot();
  }
  ~Machine() {
    host.reset();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  std::string Path(const char* name) const { return (fs::path(folder) / name).string(); }
  void RestoreImages() {
    Write(Path("fd1.hdm"), floppy);
    Write(Path("fd2.hdm"), floppy);
    Write(Path("hd1.zhd"), zhd);
    Write(Path("hd2.mhd"), mhd);
  }

  std::string folder;
  std::vector<std::uint8_t> floppy, zhd, mhd;
  std::unique_ptr<mhwhost::ReferenceHost> host;
};

std::uint16_t Word(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Whether a call may change an image: everything but the commands known to only read or move
// the head (verify, read diagnostic, initialize, sense, read data, recalibrate, read ID).
bool MayWrite(std::uint8_t ah) {
  switch (ah & 0x0F) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x06:
    case 0x07:
    case 0x0A:
      return false;
    default:
      return true;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Machine machine;
  static bool imagesChanged = false;
  mhwhost::ReferenceHost& host = *machine.host;
  // The drives keep their files open: a rewrite in place is what they see next. Only an input
  // that could have written makes the next one restore them.
  if (imagesChanged) machine.RestoreImages();
  imagesChanged = false;
  host.Reset();
  for (std::size_t at = 0; at < size; at += kRecordSize) {
    std::uint8_t r[kRecordSize] = {};
    std::memcpy(r, data + at, std::min(kRecordSize, size - at));
    const std::uint8_t op = r[0];
    // Zero is the commonest byte of an input: it makes a plain call. A start-up rebuilds every
    // drive's tables and is slow, so it takes one value of the 256.
    if (op == 0x7F) {
      host.Reset();  // in the middle of things, then the start-up again
      host.Startup();
    } else if (op % 32 == 1) {
      host.registers()[mhw::reg::kAH] =
          r[2];  // the controller's interrupt, as the host delivers it
      host.RaiseSoftwareInterrupt(r[1] & 1 ? 0x13 : 0x12);
    } else {
      imagesChanged = imagesChanged || MayWrite(r[2]);
      const auto call = mhwhost::BiosCall::Of(r[1], r[2], Word(r + 3), Word(r + 5), Word(r + 7),
                                              Word(r + 9), Word(r + 11));
      host.DiskBios(call, 1 + op / 32 % 4);
    }
    host.Tick(r[0] >> 6);
  }
  return 0;
}
