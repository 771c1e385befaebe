// A reference host with the module file attached, on a scratch INI file and image files made to
// order; INT 1Bh calls as a guest makes them, and the guest's side of the floppy controller.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "reference_host.h"
#include "support/disk_images.h"
#include "support/scratch.h"

namespace testing_support {

// disk.mhw lies beside the test program; tests run in that folder.
#if defined(_WIN32)
inline constexpr const char* kModuleFile = "disk.mhw";
#else
inline constexpr const char* kModuleFile = "./disk.mhw";
#endif

inline constexpr std::size_t kFloppySize = 1261568;  // 1.2 MB headerless: 77 x 2 x 8 x 1024
inline constexpr std::uint32_t kBuffer = 0x20000;    // ES = 0x2000, BP = 0

class ModuleTest : public ::testing::Test {
 protected:
  // Writes the INI text and attaches the module to a fresh host.
  void Attach(const std::string& iniText = "") {
    if (host) TearDown();
    if (!iniText.empty()) WriteText(ini, iniText);
    host = std::make_unique<mhwhost::ReferenceHost>();
    host->bootSelector = bootSelector;
    Configure(*host);
    // Nothing of a test means anything without the module: stop the test here.
    if (!host->Attach(kModuleFile, ini))
      throw std::runtime_error("cannot attach the module: " + host->module().error());
  }
  virtual void Configure(mhwhost::ReferenceHost&) {}
  void TearDown() override {
    // The module keeps its images open until power-off.
    if (host) host->PowerOff();
    host.reset();
  }

  // Writes `bytes` as a file and returns its path.
  std::string ImageFile(const std::string& name, const Bytes& bytes) {
    WriteAll(dir.File(name), bytes);
    return dir.File(name);
  }
  // `head` as a file then extended to `size` bytes without writing them, so that images of
  // gigabytes cost little time and disk (the file system keeps them sparse).
  std::string SparseFile(const std::string& name, const Bytes& head, std::uint64_t size) {
    std::string path = ImageFile(name, head);
    std::filesystem::resize_file(path, size);
    return path;
  }
  // Attaches with the four image paths (floppy 1, floppy 2, hard disk 1, hard disk 2) and
  // powers the machine on.
  void BootWith(const std::string& fd1, const std::string& fd2 = "", const std::string& hd1 = "",
                const std::string& hd2 = "", const std::string& extra = "") {
    Attach("[DISK]\nDISK00=" + fd1 + "\nDISK01=" + fd2 + "\nDISK02=" + hd1 + "\nDISK03=" + hd2 +
           "\n" + extra);
    host->Boot();
    host->TakeInterruptLines();
  }
  // An MFD image (R0 unless asked otherwise) of `disk` in floppy unit 0, the only disk.
  void BootFloppy(const DiskSpec& disk, bool r1 = false) {
    if (host) TearDown();
    WriteAll(image, r1 ? BuildR1(disk) : BuildR0(disk));
    BootWith(image);
  }
  // The guest's side of the floppy controller's handshake: every byte waits for the main status
  // the controller must show for it (RQM without DIO for a command byte), a wrong one fails.
  void Command(const Bytes& bytes) {
    for (std::uint8_t byte : bytes) {
      EXPECT_EQ(host->In(0x90) & 0xC0, 0x80) << "before byte " << int(byte);
      host->Out(0x92, byte);
    }
  }
  // Result bytes need 0xD0; the command phase follows the last one.
  Bytes Results(int count) {
    Bytes results;
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(host->In(0x90), 0xD0) << "before result byte " << i;
      results.push_back(host->In(0x92));
    }
    EXPECT_EQ(host->In(0x90), 0x80) << "after the result phase";
    return results;
  }
  // A command that ends with an interrupt: the bytes, the interrupt on the third tick (not
  // before), then the seven result bytes.
  Bytes Fdc(const Bytes& bytes) {
    Command(bytes);
    EXPECT_EQ(host->In(0x90), 0x30) << "execution phase until the interrupt";
    host->Tick(2);
    EXPECT_TRUE(host->TakeInterruptLines().empty()) << "interrupt before the third tick";
    host->Tick(1);
    EXPECT_EQ(host->TakeInterruptLines().size(), 1u) << "no interrupt on the third tick";
    return Results(7);
  }
  // Seek, its interrupt, then sense interrupt status: ST0 and PCN.
  Bytes SeekTo(std::uint8_t unitByte, std::uint8_t cylinder) {
    Command({0x0F, unitByte, cylinder});
    host->Tick(3);
    host->TakeInterruptLines();
    EXPECT_EQ(host->In(0x90), 0x80 | (1 << (unitByte & 3)));
    Command({0x08});
    return Results(2);
  }
  // A DMA channel programmed through its ports: address (24 bits), count (bytes - 1), unmasked
  // unless asked otherwise.
  void ProgramDma(int channel, std::uint32_t address, std::uint16_t count, bool unmask = true) {
    static constexpr std::uint16_t kBankPorts[4] = {0x27, 0x21, 0x23, 0x25};
    const auto base = static_cast<std::uint16_t>(channel * 4 + 1);
    host->Out(0x19, 0);
    host->Out(base, static_cast<std::uint8_t>(address));
    host->Out(base, static_cast<std::uint8_t>(address >> 8));
    host->Out(kBankPorts[channel], static_cast<std::uint8_t>(address >> 16));
    host->Out(static_cast<std::uint16_t>(base + 2), static_cast<std::uint8_t>(count));
    host->Out(static_cast<std::uint16_t>(base + 2), static_cast<std::uint8_t>(count >> 8));
    if (unmask) host->Out(0x15, static_cast<std::uint8_t>(channel));
  }
  // A channel's address or count register, read through the flip-flop.
  std::uint16_t DmaRegister(std::uint16_t port) {
    host->Out(0x19, 0);
    const std::uint8_t low = host->In(port);
    return static_cast<std::uint16_t>(low | host->In(port) << 8);
  }

  // The whole call, re-runs and ticks included.
  mhwhost::BiosResult Bios(std::uint8_t al, std::uint8_t ah, std::uint16_t bx = 0,
                           std::uint16_t cx = 0, std::uint16_t dx = 0, std::uint16_t es = 0x2000,
                           std::uint16_t bp = 0) {
    return host->DiskBios(mhwhost::BiosCall::Of(al, ah, bx, cx, dx, es, bp));
  }
  // AH with the carry as bit 8: a call's outcome in one value.
  static int Status(const mhwhost::BiosResult& r) { return r.AH() | r.carry << 8; }
  // Only the first INT 1Bh of a call, as the guest's INT instruction runs it.
  std::uint32_t Start(std::uint8_t al, std::uint8_t ah, std::uint16_t bx, std::uint16_t cx = 0,
                      std::uint16_t dx = 0) {
    host->LoadCall(mhwhost::BiosCall::Of(al, ah, bx, cx, dx));
    return host->RunDiskBiosOnce();
  }
  // Runs a script of words (numbers in hex): "P=V" writes V to port P, "P?V" expects V from it,
  // "c0F,00,05" is a command, "r68,05" its expected results, "n" a sense interrupt status with
  // nothing to report, "tN" N ticks, "iL" exactly one interrupt on line L since the last check
  // ("i-": none), "R" a machine reset.
  void Script(const std::string& script) {
    std::istringstream words(script);
    for (std::string w; words >> w;) {
      SCOPED_TRACE(w);
      const std::size_t op = w.find_first_of("=?");
      if (op != std::string::npos) {
        const auto port = std::uint16_t(std::stoul(w.substr(0, op), nullptr, 16));
        const auto value = std::uint8_t(std::stoul(w.substr(op + 1), nullptr, 16));
        if (w[op] == '=')
          host->Out(port, value);
        else
          EXPECT_EQ(host->In(port), value);
      } else if (w[0] == 'c') {
        Command(Hex(w.substr(1)));
      } else if (w[0] == 'r') {
        const Bytes expected = Hex(w.substr(1));
        EXPECT_EQ(Results(static_cast<int>(expected.size())), expected);
      } else if (w[0] == 'n') {  // no result phase, one invalid-command byte
        Command({0x08});
        for (std::uint16_t port : {0x90, 0x92, 0x90}) EXPECT_EQ(host->In(port), 0x80);
      } else if (w[0] == 't') {
        host->Tick(std::stoul(w.substr(1)));
      } else if (w[0] == 'i') {
        const auto lines = host->TakeInterruptLines();
        EXPECT_EQ(lines, w == "i-"
                             ? std::vector<std::uint32_t>{}
                             : std::vector<std::uint32_t>{std::uint32_t(std::stoul(w.substr(1)))});
      } else if (w == "R") {
        host->Reset();
      }
    }
  }
  // Bytes written in hex, separated by commas: "46,0,1B".
  static Bytes Hex(const std::string& text) {
    Bytes list;
    std::istringstream in(text);
    for (std::string b; std::getline(in, b, ',');)
      list.push_back(std::uint8_t(std::stoul(b, nullptr, 16)));
    return list;
  }
  static Bytes Slice(const Bytes& bytes, std::size_t at, std::size_t size) {
    Bytes part(size, 0);
    for (std::size_t i = 0; i < size && at + i < bytes.size(); ++i) part[i] = bytes[at + i];
    return part;
  }

  std::uint8_t bootSelector = 0x00;  // asked at start-up; 0x80: no floppy boot turns a disk
  ScratchDir dir;
  std::string ini = dir.File("host.ini");
  std::string image = dir.File("disk.mfd");
  std::unique_ptr<mhwhost::ReferenceHost> host;
};

}  // namespace testing_support
