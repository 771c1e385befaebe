// The machine's uPD765A floppy disk controller with the interface registers around it. Every
// command runs to completion inside the port write that supplies its last byte; only the
// interrupt and the result phase wait for ticks.
#pragma once

#include <cstdint>

#include "chips/fdc_registers.h"

namespace disk {

class DmaController;
class FloppyDrive;

// A function of the module around a chip, with the object it works on. Calling one that is not
// wired does nothing.
template <typename... Args>
struct Callback {
  void* context = nullptr;
  void (*function)(void* context, Args... args) = nullptr;

  void operator()(Args... args) const {
    if (function != nullptr) function(context, args...);
  }
};

// Each group of members below names the file that implements it.
class FloppyController {
 public:
  static constexpr int kUnits = 2;  // units 2 and 3 have no drive

  enum class Phase { kCommand, kExecution, kResult };

  // What the controller is wired to: the drives of units 0 and 1, the DMA controller its
  // transfers go through, what raises an interrupt line of the host, what lights a unit's access
  // lamp, and what is called before a guest's command works on a drive, so that a drive lent out
  // comes back first.
  struct Wiring {
    FloppyDrive* drives[kUnits] = {};
    DmaController* dma = nullptr;
    Callback<std::uint32_t> raiseInterrupt;
    Callback<int> lightLamp;
    Callback<> claimDrives;
  };

  FloppyController() { Reset(); }
  virtual ~FloppyController() = default;
  // A copy works beside the original (the floppy BIOS worker's): see TakeOperationRegisters.
  FloppyController(const FloppyController&) = default;
  FloppyController& operator=(const FloppyController&) = default;

  // fdc_timing.cpp: wiring, reset, the ready change and the host's tick, which raises the
  // interrupt and the periodic interrupt.
  // Also makes each drive set the R register to 1 whenever its cursor returns to the index.
  void Connect(const Wiring& wiring);
  // Only the controller's side: the drives stay bound to whichever controller they were.
  Wiring& wiring() { return wiring_; }
  const Wiring& wiring() const { return wiring_; }
  void Reset();
  // A medium of unit 0 or 1 was inserted or removed: the guest learns it from a ready-change
  // interrupt.
  void ReportReadyChange(std::uint32_t changedUnit, bool inserted);
  // Most ticks only count down to the next periodic check: that much is inline.
  void Tick() {
    if (periodicCountdown != 0 && interruptDelay == 0)
      --periodicCountdown;
    else
      TickEvents();
  }
  void ScheduleInterrupt() { interruptDelay = fdc::kInterruptDelayTicks; }

  // The guest's ports (main status, data, control, interface mode), below: inline, so that a
  // handler of one port number is that port's case alone.
  void WritePort(std::uint16_t port, std::uint8_t value);
  std::uint8_t ReadPort(std::uint16_t port);

  // fdc_phases.cpp: the data register's command decode, parameters and results, and the phases.
  void EnterPhase(Phase phase);

  // The command engine. The floppy BIOS calls Seek, Recalibrate, ReadId and FormatTrackCommand
  // directly after setting the registers itself.
  // fdc_transfer.cpp: read data (and read diagnostic), write data.
  void ReadData();
  void WriteData();
  // fdc_drive_commands.cpp: the commands that move the head or report on the drive.
  void ReadId();
  void Seek();
  void Recalibrate();
  void SenseInterruptStatus();
  void SenseDriveStatus();
  // fdc_format.cpp. diskType: 0 from the ports; from the BIOS, its DA/UA byte with the low four
  // bits cleared.
  void FormatTrackCommand(std::uint8_t diskType);

  // register_changes.cpp: takes over what an operation run on a copy of this controller did: the
  // registers its interrupt reports (unit, ST0-ST2, PCN, NCN, the ID) as `after` holds them,
  // every other one only where `after` differs from `before`. A register added below belongs in
  // those lists too.
  void TakeOperationRegisters(const FloppyController& before, const FloppyController& after);

  int DmaChannel() const { return dmaSelect == 0 ? 2 : 3; }
  // The drive of `unit`, or null for units 2 and 3.
  FloppyDrive* CurrentDrive() const { return unit < kUnits ? wiring_.drives[unit] : nullptr; }

  // Registers, public: the BIOS, its interrupt service and the mounting code read and set them.
  std::uint32_t unit = 0;
  std::uint8_t mainStatus = 0;
  std::uint8_t commandByte = 0;
  std::uint8_t unitByte = 0;
  std::uint8_t idC = 0, idH = 0, idR = 0, idN = 0;
  std::uint8_t pcn = 0;
  std::uint8_t ncn = 0;
  std::uint8_t eot = 0;
  std::uint8_t gpl = 0;
  std::uint8_t formatGpl = 0;
  std::uint8_t dtl = 0;
  std::uint8_t formatSc = 0;
  std::uint8_t formatFill = 0;
  std::uint8_t st0 = 0, st1 = 0, st2 = 0, st3 = 0;
  std::uint32_t command = 0;
  std::uint32_t interfaceMode = 0;
  std::uint32_t dmaSelect = 0;
  std::uint32_t periodicCountdown = 0;
  std::uint32_t interruptDelay = 0;
  std::uint8_t dataLatch = 0;
  std::uint8_t control = 0;
  std::uint32_t forceReady = 0;
  std::uint32_t seekEndPending = 0;
  std::uint32_t paramIndex = 0;
  std::uint32_t resultIndex = 0;

 private:
  void TickEvents();                      // fdc_timing.cpp
  void WriteControl(std::uint8_t value);  // fdc_ports.cpp
  // fdc_phases.cpp
  void WriteDataRegister(std::uint8_t value);
  std::uint8_t ReadDataRegister();
  void DecodeCommand(std::uint8_t value);
  void TakeParameter(std::uint8_t value);
  void Execute();
  // fdc_transfer.cpp
  void TransferSectors(bool write);
  void LightLamp() const;  // the current unit's

  Wiring wiring_;
  std::uint8_t buffer_[8192] = {};  // one sector of the largest size
};

inline void FloppyController::WritePort(std::uint16_t port, std::uint8_t value) {
  using namespace fdc;
  switch (port) {
    case port::kData1MB:
    case port::kData640KB:
      WriteDataRegister(value);
      break;
    case port::kControl1MB:
    case port::kControl640KB:
      WriteControl(value);
      break;
    case port::kInterfaceMode:
      interfaceMode = (value & mode::kSelect1MB) != 0 ? kInterface1MB : kInterface640KB;
      dmaSelect = (value & mode::kSelectChannel2) != 0 ? 0 : 2;
      break;
    case port::kMode144:
      if ((value & mode::k144Enable) == mode::k144Enable) interfaceMode = kInterface144;
      break;
    default:
      break;
  }
}

inline std::uint8_t FloppyController::ReadPort(std::uint16_t port) {
  using namespace fdc;
  switch (port) {
    case port::kStatus1MB:
    case port::kStatus640KB:
      return mainStatus;
    case port::kData1MB:
    case port::kData640KB:
      return ReadDataRegister();
    case port::kControl1MB:
    case port::kControl640KB:
      return control::kReadValue;
    case port::kInterfaceMode:
      return interfaceMode == kInterface640KB ? mode::kRead640KB : mode::kRead1MB;
    case port::kMode144:
      return interfaceMode == kInterface144 ? mode::k144Read144 : mode::k144ReadOther;
    default:
      return 0;
  }
}

}  // namespace disk
