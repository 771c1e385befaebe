// A reference emulator host: implements the host side of the module boundary the way an emulator
// would, loads a module file through its exports and drives it. Tests and mhwhost use it.
// Host callbacks are plain C functions, so one ReferenceHost is active at a time.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "module_file.h"
#include "platform/host_abi.h"

namespace mhwhost {

inline constexpr std::uint32_t kConventionalMemory = 0x100000;  // the first megabyte
inline constexpr std::uint32_t kExtendedMemory = 0x300000;      // 3 MiB above it

// What an interrupt hook returned and the registers it left.
struct BiosResult {
  std::uint32_t code = 0;  // 0x200, 0x201, 0x100 or 1
  bool carry = false;      // code 0x201
  std::uint32_t reruns = 0;
  std::uint32_t ticks = 0;
  std::uint8_t AH() const { return registers[mhw::reg::kAH]; }
  std::uint16_t BX() const { return Word(mhw::reg::kBX); }
  std::uint16_t CX() const { return Word(mhw::reg::kCX); }
  std::uint16_t DX() const { return Word(mhw::reg::kDX); }
  std::uint16_t Word(unsigned at) const {
    return static_cast<std::uint16_t>(registers[at] | (registers[at + 1] << 8));
  }
  std::array<std::uint8_t, mhw::kRegistersSize> registers{};
};

// The registers of a disk BIOS call as a guest loads them.
struct BiosCall {
  std::uint8_t al = 0, ah = 0;
  std::uint16_t bx = 0, cx = 0, dx = 0, bp = 0, es = 0;

  static BiosCall Of(std::uint8_t al, std::uint8_t ah, std::uint16_t bx = 0, std::uint16_t cx = 0,
                     std::uint16_t dx = 0, std::uint16_t es = 0x2000, std::uint16_t bp = 0) {
    BiosCall call;
    call.al = al;
    call.ah = ah;
    call.bx = bx;
    call.cx = cx;
    call.dx = dx;
    call.es = es;
    call.bp = bp;
    return call;
  }
};

struct Registration {
  enum Kind { kReset, kStartup, kSave, kLoad, kPowerOff, kInterrupt, kOut, kIn, kTick, kMenu };
  Kind kind;
  std::uint32_t a = 0;  // interrupt number, port, menu id, snapshot size
  std::uint32_t b = 0;  // AH of an interrupt hook
};

struct MenuItem {
  std::uint32_t id = 0;
  std::string caption;
  MhwVoidHandler click = nullptr;
  MhwMenuLabel label = nullptr;
};

class ReferenceHost {
 public:
  ReferenceHost();
  ~ReferenceHost();
  ReferenceHost(const ReferenceHost&) = delete;
  ReferenceHost& operator=(const ReferenceHost&) = delete;

  // Loads the module and runs SetPath, DeviceEntry, FastGUI and DeviceConect, in the order an
  // emulator does. Returns false when the file or one of its exports is missing.
  bool Attach(const std::string& modulePath, const std::string& iniPath);
  bool Attach(std::unique_ptr<ModuleFile> module, const std::string& iniPath);
  ModuleFile& module() { return *module_; }

  // Machine events.
  void Reset();
  void Startup();
  void Boot() {
    Reset();
    Startup();
  }  // power on: reset, then the BIOS start-up
  void PowerOff();
  void Tick(std::uint32_t count = 1);
  std::vector<std::uint8_t> SaveSnapshot();
  bool LoadSnapshot(const std::vector<std::uint8_t>& record);

  // Guest activity.
  void Out(std::uint16_t port, std::uint8_t value);
  std::uint8_t In(std::uint16_t port);
  bool HasOutPort(std::uint16_t port) const { return outPorts_[port] != nullptr; }
  bool HasInPort(std::uint16_t port) const { return inPorts_[port] != nullptr; }
  // The handlers as registered, for callers that time them without the host around them.
  MhwInHandler InHandler(std::uint16_t port) const { return inPorts_[port]; }
  const std::vector<MhwVoidHandler>& TickHandlers() const { return tickHandlers_; }
  // Runs one interrupt hook as the guest's INT with the current registers.
  std::uint32_t RaiseSoftwareInterrupt(std::uint8_t interrupt);
  // Loads the registers of a disk BIOS call as the guest does before its INT.
  void LoadCall(const BiosCall& call);
  // Runs INT 1Bh once with the registers as they are; the re-run queue is emptied first.
  std::uint32_t RunDiskBiosOnce();
  // Runs INT 1Bh and, as long as the module asks for re-runs, ticks and runs it again.
  BiosResult DiskBios(const BiosCall& call, std::uint32_t ticksPerRerun = 1);

  // Guest memory and registers.
  std::uint8_t ReadByte(std::uint32_t linear) const;
  void WriteByte(std::uint32_t linear, std::uint8_t value);
  std::uint16_t ReadWord(std::uint32_t linear) const;
  std::vector<std::uint8_t> ReadBlock(std::uint32_t linear, std::uint32_t size) const;
  void WriteBlock(std::uint32_t linear, const std::vector<std::uint8_t>& bytes);
  std::uint8_t* registers() { return registers_.data(); }
  void SetSegment(unsigned segmentOffset, std::uint16_t value);
  std::uint16_t SegmentValue(unsigned segmentOffset) const;
  std::uint16_t IP() const;

  // What the module did through the host.
  std::vector<Registration> registrations;
  std::vector<MenuItem> menus;
  std::vector<std::string> reportLines;
  std::vector<std::uint32_t> TakeInterruptLines();
  std::int64_t charged() const { return charged_.load(); }
  std::uint32_t chargeCalls() const { return chargeCalls_.load(); }
  std::uint32_t memoryCalls() const { return memoryCalls_.load(); }
  // Guest-memory calls made on another thread than the one that built the host.
  std::uint32_t foreignMemoryCalls() const { return foreignMemoryCalls_.load(); }
  // While set, such calls wait for it to clear: a test keeps the module's worker inside its
  // transfer while the machine goes on.
  std::atomic<bool> holdForeignMemoryCalls{false};
  MhwRerunQueue& queue() { return queue_; }
  MhwWord* table() { return table_.data(); }
  const MhwDiskBiosExtension* biosExtension() const {
    return reinterpret_cast<const MhwDiskBiosExtension*>(table_[mhw::kSlotDiskBiosExtension]);
  }
  MhwInterruptHandler Hook(std::uint8_t interrupt, std::uint8_t ah) const {
    return hooks_[interrupt][ah];
  }
  std::uint32_t snapshotSize() const { return snapshotSize_; }
  // DiskBios yields the processor between re-runs, so that a worker thread can get on; with the
  // worker run inline there is none to wait for, and a yield on a busy machine costs a time slice.
  bool yieldBetweenReruns = true;

  // What the host's other modules answer (DeviceConect entries 95, 140, 142). Attach hands the
  // module tables for the entries that are enabled here.
  bool provideBootSelector = true;
  std::uint8_t bootSelector = 0x00;  // high nibble selects the boot device
  bool provideDialogMode = false;
  std::uint32_t dialogMode = 0;  // entry 140: 1 = the host's dialog mode is on
  bool provideDisplayMode = false;
  bool displayModePointerNull = false;
  std::uint32_t displayMode = 0;  // entry 142: the value its first function points at
  std::uint32_t dialogNotifications = 0;
  bool mouseCaptured = false;
  // What the mouse record's function was given, call by call; it answers only for the host
  // table itself.
  std::vector<const MhwWord*> mouseQueries;
  void* mainWindow = nullptr;   // word 10 of the record of slot 1
  void* panelWindow = nullptr;  // what FastGUI returned

  // Callbacks of the host table; public so that the C thunks reach them.
  struct Callbacks;

 private:
  std::unique_ptr<ModuleFile> module_;
  std::vector<MhwWord> table_;
  std::vector<std::uint8_t> memory_;
  std::array<std::uint8_t, mhw::kRegistersSize> registers_{};
  MhwRerunQueue queue_{};
  std::array<MhwOutHandler, 0x10000> outPorts_{};
  std::array<MhwInHandler, 0x10000> inPorts_{};
  std::array<std::array<MhwInterruptHandler, 256>, 256> hooks_{};
  std::vector<MhwVoidHandler> resetHandlers_, startupHandlers_, powerOffHandlers_, tickHandlers_;
  std::uint32_t snapshotSize_ = 0;
  MhwSaveHandler save_ = nullptr;
  MhwLoadHandler load_ = nullptr;
  std::array<MhwWord, 16> windowRecord_{};
  std::array<MhwWord, 8> interruptTable_{};
  std::array<MhwWord, 8> chargeTable_{};
  std::array<MhwWord, 4> mouseRecord_{};
  std::array<MhwWord, 256> moduleTables_{};
  std::array<MhwWord, 2> bootSelectorTable_{};
  std::array<MhwWord, 2> dialogModeTable_{};
  std::array<MhwWord, 9> displayModeTable_{};
  std::atomic<std::int64_t> charged_{0};
  std::atomic<std::uint32_t> chargeCalls_{0};
  std::atomic<std::uint32_t> memoryCalls_{0};
  std::atomic<std::uint32_t> foreignMemoryCalls_{0};
  std::thread::id emulationThread_ = std::this_thread::get_id();
  std::vector<std::uint32_t> interruptLines_;
  std::atomic_flag interruptLock_ = ATOMIC_FLAG_INIT;

  void BuildTable();
  std::uint32_t Linear(std::uint32_t segment, std::uint32_t offset) const {
    return segment * 16 + offset;
  }
};

}  // namespace mhwhost
