#include "reference_host.h"

#include <cstring>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sched.h>
#endif

namespace mhwhost {
namespace {

ReferenceHost* gActive = nullptr;

void PauseBriefly() {
#if defined(_WIN32)
  Sleep(0);
#else
  sched_yield();
#endif
}

// A worker thread may run while the emulation thread waits for it; give up after this many
// re-runs so that a test fails instead of hanging.
constexpr std::uint32_t kMaxReruns = 2000000;

}  // namespace

struct ReferenceHost::Callbacks {
  static ReferenceHost& H() { return *gActive; }
  // Counts a guest-memory call, and where it came from.
  static ReferenceHost& M() {
    ReferenceHost& h = *gActive;
    h.memoryCalls_++;
    if (std::this_thread::get_id() != h.emulationThread_) {
      h.foreignMemoryCalls_++;
      while (h.holdForeignMemoryCalls.load()) PauseBriefly();
    }
    return h;
  }

  static void MHW_CALL RegisterMenu(std::uint32_t id, const char* caption, MhwVoidHandler click,
                                    MhwMenuLabel label) {
    H().menus.push_back({id, caption != nullptr ? caption : "", click, label});
    H().registrations.push_back({Registration::kMenu, id, 0});
  }
  static void MHW_CALL RegisterOut(std::uint32_t port, MhwOutHandler handler) {
    H().outPorts_[port & 0xFFFF] = handler;
    H().registrations.push_back({Registration::kOut, port, 0});
  }
  static void MHW_CALL RegisterIn(std::uint32_t port, MhwInHandler handler) {
    H().inPorts_[port & 0xFFFF] = handler;
    H().registrations.push_back({Registration::kIn, port, 0});
  }
  static void MHW_CALL RegisterInterrupt(std::uint32_t interrupt, std::uint32_t ah,
                                         MhwInterruptHandler handler) {
    H().hooks_[interrupt & 0xFF][ah & 0xFF] = handler;
    H().registrations.push_back({Registration::kInterrupt, interrupt, ah});
  }
  static void MHW_CALL RegisterReset(MhwVoidHandler h) {
    H().resetHandlers_.push_back(h);
    H().registrations.push_back({Registration::kReset});
  }
  static void MHW_CALL RegisterStartup(MhwVoidHandler h) {
    H().startupHandlers_.push_back(h);
    H().registrations.push_back({Registration::kStartup});
  }
  static void MHW_CALL RegisterPowerOff(MhwVoidHandler h) {
    H().powerOffHandlers_.push_back(h);
    H().registrations.push_back({Registration::kPowerOff});
  }
  static void MHW_CALL RegisterTick(MhwVoidHandler h) {
    H().tickHandlers_.push_back(h);
    H().registrations.push_back({Registration::kTick});
  }
  static void MHW_CALL RegisterSave(std::uint32_t size, MhwSaveHandler save) {
    H().snapshotSize_ = size;
    H().save_ = save;
    H().registrations.push_back({Registration::kSave, size, 0});
  }
  static void MHW_CALL RegisterLoad(MhwLoadHandler load) {
    H().load_ = load;
    H().registrations.push_back({Registration::kLoad});
  }
  static void MHW_CALL Resume() {}  // the queue is looked at after every hook anyway

  static std::uint8_t MHW_CALL ReadByteSeg(std::uint32_t s, std::uint32_t o) {
    M();
    return H().ReadByte(H().Linear(s, o));
  }
  static std::uint16_t MHW_CALL ReadWordSeg(std::uint32_t s, std::uint32_t o) {
    M();
    return H().ReadWord(H().Linear(s, o));
  }
  static std::uint32_t MHW_CALL ReadDwordSeg(std::uint32_t s, std::uint32_t o) {
    M();
    std::uint32_t linear = H().Linear(s, o);
    return H().ReadWord(linear) | (static_cast<std::uint32_t>(H().ReadWord(linear + 2)) << 16);
  }
  static void MHW_CALL WriteByteSeg(std::uint32_t s, std::uint32_t o, std::uint8_t v) {
    M();
    H().WriteByte(H().Linear(s, o), v);
  }
  static void MHW_CALL WriteWordSeg(std::uint32_t s, std::uint32_t o, std::uint16_t v) {
    M();
    WriteLinear(H().Linear(s, o), v, 2);
  }
  static void MHW_CALL WriteDwordSeg(std::uint32_t s, std::uint32_t o, std::uint32_t v) {
    M();
    WriteLinear(H().Linear(s, o), v, 4);
  }
  static std::uint8_t MHW_CALL ReadByteLinear(std::uint32_t a) {
    M();
    return H().ReadByte(a);
  }
  static std::uint16_t MHW_CALL ReadWordLinear(std::uint32_t a) {
    M();
    return H().ReadWord(a);
  }
  static std::uint32_t MHW_CALL ReadDwordLinear(std::uint32_t a) {
    M();
    return H().ReadWord(a) | (static_cast<std::uint32_t>(H().ReadWord(a + 2)) << 16);
  }
  static void MHW_CALL WriteByteLinear(std::uint32_t a, std::uint8_t v) {
    M();
    H().WriteByte(a, v);
  }
  static void MHW_CALL WriteWordLinear(std::uint32_t a, std::uint16_t v) {
    M();
    WriteLinear(a, v, 2);
  }
  static void MHW_CALL WriteDwordLinear(std::uint32_t a, std::uint32_t v) {
    M();
    WriteLinear(a, v, 4);
  }
  static void WriteLinear(std::uint32_t a, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) H().WriteByte(a + i, static_cast<std::uint8_t>(v >> (8 * i)));
  }

  static void MHW_CALL RaiseInterrupt(std::uint32_t line) {
    ReferenceHost& h = H();
    while (h.interruptLock_.test_and_set(std::memory_order_acquire)) PauseBriefly();
    h.interruptLines_.push_back(line);
    h.interruptLock_.clear(std::memory_order_release);
  }
  static void MHW_CALL ReportLine(const char* line) {
    H().reportLines.push_back(line != nullptr ? line : "");
  }
  static void MHW_CALL Charge(std::int32_t cost) {
    H().charged_ += cost;
    H().chargeCalls_++;
  }
  static std::uint32_t MHW_CALL MouseState(MhwWord* table) {
    ReferenceHost& h = H();
    h.mouseQueries.push_back(table);
    return table == h.table_.data() && h.mouseCaptured ? 2u : 0u;
  }

  static std::uint8_t MHW_CALL BootQuery(std::uint32_t query) {
    return query == 0x12 ? H().bootSelector : 0;
  }
  static std::uint32_t MHW_CALL DialogModeFlag() { return H().dialogMode; }
  static std::uint32_t* MHW_CALL DisplayModePointer() {
    return H().displayModePointerNull ? nullptr : &H().displayMode;
  }
  static void MHW_CALL DialogNotify() { H().dialogNotifications++; }
};

ReferenceHost::ReferenceHost()
    : table_(mhw::kHostTableWords, 0), memory_(kConventionalMemory + kExtendedMemory, 0) {
  if (gActive != nullptr) throw std::logic_error("one ReferenceHost at a time");
  gActive = this;
  BuildTable();
}

ReferenceHost::~ReferenceHost() {
  // Power the machine off so that the module lets go of its files before it is unloaded.
  if (module_ && module_->loaded()) PowerOff();
  module_.reset();
  gActive = nullptr;
}

template <typename F>
static MhwWord W(F f) {
  return reinterpret_cast<MhwWord>(f);
}

void ReferenceHost::BuildTable() {
  using C = Callbacks;
  using namespace mhw;
  windowRecord_[kMainWindowWord] = reinterpret_cast<MhwWord>(mainWindow);
  interruptTable_[kRaiseInterruptWord] = W(&C::RaiseInterrupt);
  chargeTable_[kChargeWord] = W(&C::Charge);
  mouseRecord_[0] = W(&C::MouseState);
  table_[kSlotMainWindowRecord] = reinterpret_cast<MhwWord>(windowRecord_.data());
  table_[kSlotRegisterMenu] = W(&C::RegisterMenu);
  table_[kSlotRegisterOut] = W(&C::RegisterOut);
  table_[kSlotRegisterIn] = W(&C::RegisterIn);
  table_[kSlotRegisterInterrupt] = W(&C::RegisterInterrupt);
  table_[kSlotRegisterReset] = W(&C::RegisterReset);
  table_[kSlotRegisterStartup] = W(&C::RegisterStartup);
  table_[kSlotRegisterSave] = W(&C::RegisterSave);
  table_[kSlotRegisterLoad] = W(&C::RegisterLoad);
  table_[kSlotRegisterPowerOff] = W(&C::RegisterPowerOff);
  table_[kSlotRegisterTick] = W(&C::RegisterTick);
  table_[kSlotResume] = W(&C::Resume);
  table_[kSlotReadByteSeg] = W(&C::ReadByteSeg);
  table_[kSlotReadWordSeg] = W(&C::ReadWordSeg);
  table_[kSlotReadDwordSeg] = W(&C::ReadDwordSeg);
  table_[kSlotWriteByteSeg] = W(&C::WriteByteSeg);
  table_[kSlotWriteWordSeg] = W(&C::WriteWordSeg);
  table_[kSlotWriteDwordSeg] = W(&C::WriteDwordSeg);
  table_[kSlotReadByteLinear] = W(&C::ReadByteLinear);
  table_[kSlotReadWordLinear] = W(&C::ReadWordLinear);
  table_[kSlotReadDwordLinear] = W(&C::ReadDwordLinear);
  table_[kSlotWriteByteLinear] = W(&C::WriteByteLinear);
  table_[kSlotWriteWordLinear] = W(&C::WriteWordLinear);
  table_[kSlotWriteDwordLinear] = W(&C::WriteDwordLinear);
  table_[kSlotInterruptTable] = reinterpret_cast<MhwWord>(interruptTable_.data());
  table_[kSlotRegisters] = reinterpret_cast<MhwWord>(registers_.data());
  table_[kSlotRerunQueue] = reinterpret_cast<MhwWord>(&queue_);
  table_[kSlotReportLine] = W(&C::ReportLine);
  table_[kSlotChargeTable] = reinterpret_cast<MhwWord>(chargeTable_.data());
  table_[kSlotMouseRecord] = reinterpret_cast<MhwWord>(mouseRecord_.data());
}

bool ReferenceHost::Attach(const std::string& modulePath, const std::string& iniPath) {
  return Attach(std::make_unique<ModuleFile>(modulePath), iniPath);
}

bool ReferenceHost::Attach(std::unique_ptr<ModuleFile> module, const std::string& iniPath) {
  module_ = std::move(module);
  if (!module_->loaded()) return false;
  windowRecord_[mhw::kMainWindowWord] = reinterpret_cast<MhwWord>(mainWindow);
  module_->setPath(iniPath.c_str());
  module_->deviceEntry(table_.data());
  panelWindow = module_->fastGui(mainWindow, 0);

  using C = Callbacks;
  bootSelectorTable_ = {W(&C::BootQuery), 0};
  dialogModeTable_ = {W(&C::DialogModeFlag), W(&C::DialogNotify)};
  displayModeTable_ = {W(&C::DisplayModePointer), 0, W(&C::DialogNotify)};
  moduleTables_.fill(0);
  if (provideBootSelector)
    moduleTables_[mhw::kModuleBootSelector] = reinterpret_cast<MhwWord>(bootSelectorTable_.data());
  if (provideDialogMode)
    moduleTables_[mhw::kModuleDialogMode] = reinterpret_cast<MhwWord>(dialogModeTable_.data());
  if (provideDisplayMode)
    moduleTables_[mhw::kModuleDisplayMode] = reinterpret_cast<MhwWord>(displayModeTable_.data());
  module_->deviceConect(moduleTables_.data());
  return true;
}

void ReferenceHost::Reset() {
  for (auto h : resetHandlers_) h();
}
void ReferenceHost::Startup() {
  for (auto h : startupHandlers_) h();
}
void ReferenceHost::PowerOff() {
  for (auto h : powerOffHandlers_) h();
}
void ReferenceHost::Tick(std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i)
    for (auto h : tickHandlers_) h();
}

std::vector<std::uint8_t> ReferenceHost::SaveSnapshot() {
  std::vector<std::uint8_t> record(snapshotSize_, 0xCC);
  if (save_ != nullptr) save_(record.data());
  return record;
}

bool ReferenceHost::LoadSnapshot(const std::vector<std::uint8_t>& record) {
  return load_ != nullptr && load_(record.data()) == 1;
}

void ReferenceHost::Out(std::uint16_t port, std::uint8_t value) {
  if (outPorts_[port] != nullptr) outPorts_[port](value);
}

std::uint8_t ReferenceHost::In(std::uint16_t port) {
  return inPorts_[port] != nullptr ? inPorts_[port]() : 0xFF;
}

std::uint32_t ReferenceHost::RaiseSoftwareInterrupt(std::uint8_t interrupt) {
  MhwInterruptHandler hook = hooks_[interrupt][registers_[mhw::reg::kAH]];
  return hook != nullptr ? hook() : 0;
}

void ReferenceHost::LoadCall(const BiosCall& call) {
  using namespace mhw::reg;
  registers_[kAL] = call.al;
  registers_[kAH] = call.ah;
  auto setWord = [this](unsigned at, std::uint16_t v) {
    registers_[at] = static_cast<std::uint8_t>(v);
    registers_[at + 1] = static_cast<std::uint8_t>(v >> 8);
  };
  setWord(kBX, call.bx);
  setWord(kCX, call.cx);
  setWord(kDX, call.dx);
  setWord(kBP, call.bp);
  SetSegment(kES, call.es);
}

std::uint32_t ReferenceHost::RunDiskBiosOnce() {
  queue_.count = 0;
  return RaiseSoftwareInterrupt(0x1B);
}

BiosResult ReferenceHost::DiskBios(const BiosCall& call, std::uint32_t ticksPerRerun) {
  LoadCall(call);
  BiosResult result;
  for (;;) {
    queue_.count = 0;
    result.code = RaiseSoftwareInterrupt(0x1B);
    bool rerun = false;
    for (std::uint32_t i = 0; i < queue_.count && i < 256; ++i)
      rerun |= (queue_.entries[i] & 0xFF) == mhw::kRerunRequest;
    queue_.count = 0;
    if (result.code != mhw::kBiosNoCarry || !rerun || result.reruns >= kMaxReruns) break;
    ++result.reruns;
    Tick(ticksPerRerun);
    result.ticks += ticksPerRerun;
    if (yieldBetweenReruns) PauseBriefly();
  }
  result.carry = result.code == mhw::kBiosCarrySet;
  std::memcpy(result.registers.data(), registers_.data(), registers_.size());
  return result;
}

std::uint8_t ReferenceHost::ReadByte(std::uint32_t linear) const {
  return linear < memory_.size() ? memory_[linear] : 0xFF;  // open bus past the memory
}

void ReferenceHost::WriteByte(std::uint32_t linear, std::uint8_t value) {
  if (linear < memory_.size()) memory_[linear] = value;
}

std::uint16_t ReferenceHost::ReadWord(std::uint32_t linear) const {
  return static_cast<std::uint16_t>(ReadByte(linear) | (ReadByte(linear + 1) << 8));
}

std::vector<std::uint8_t> ReferenceHost::ReadBlock(std::uint32_t linear, std::uint32_t size) const {
  std::vector<std::uint8_t> bytes(size);
  for (std::uint32_t i = 0; i < size; ++i) bytes[i] = ReadByte(linear + i);
  return bytes;
}

void ReferenceHost::WriteBlock(std::uint32_t linear, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i)
    WriteByte(linear + static_cast<std::uint32_t>(i), bytes[i]);
}

void ReferenceHost::SetSegment(unsigned segmentOffset, std::uint16_t value) {
  std::uint32_t base = static_cast<std::uint32_t>(value) << 4;
  std::memcpy(&registers_[segmentOffset], &base, 4);  // the host's own layout: base first
  registers_[segmentOffset + mhw::reg::kSegmentValue] = static_cast<std::uint8_t>(value);
  registers_[segmentOffset + mhw::reg::kSegmentValue + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t ReferenceHost::SegmentValue(unsigned segmentOffset) const {
  unsigned at = segmentOffset + mhw::reg::kSegmentValue;
  return static_cast<std::uint16_t>(registers_[at] | (registers_[at + 1] << 8));
}

std::uint16_t ReferenceHost::IP() const {
  return static_cast<std::uint16_t>(registers_[mhw::reg::kIP] |
                                    (registers_[mhw::reg::kIP + 1] << 8));
}

std::vector<std::uint32_t> ReferenceHost::TakeInterruptLines() {
  while (interruptLock_.test_and_set(std::memory_order_acquire)) PauseBriefly();
  std::vector<std::uint32_t> lines;
  lines.swap(interruptLines_);
  interruptLock_.clear(std::memory_order_release);
  return lines;
}

}  // namespace mhwhost
