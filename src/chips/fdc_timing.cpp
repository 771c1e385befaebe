// Wiring and reset, the ready change, the interrupt countdown and the periodic interrupt.
#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"

namespace disk {

using namespace fdc;

namespace {

void RecordToIndex(void* controller) {
  static_cast<FloppyController*>(controller)->idR = 1;
}

}  // namespace

void FloppyController::Connect(const Wiring& wiring) {
  wiring_ = wiring;
  for (FloppyDrive* drive : wiring_.drives) {
    if (drive == nullptr) continue;
    drive->controller = this;
    drive->onIndex = &RecordToIndex;
  }
}

void FloppyController::Reset() {
  mainStatus = msr::kIdle;
  dataLatch = 0x32;
  control = control::kAfterReset;
  periodicCountdown = kPeriodicReload;
  interruptDelay = 0;
  interfaceMode = kInterface1MB;
  dmaSelect = 0;
  seekEndPending = 0;
  forceReady = 0;
  idC = 0;
  idH = 0;
  idR = 1;
  idN = 3;
  pcn = ncn = eot = gpl = formatGpl = dtl = formatSc = formatFill = 0;
  st0 = st1 = st2 = st3 = 0;
  EnterPhase(Phase::kCommand);
}

void FloppyController::ReportReadyChange(std::uint32_t changedUnit, bool inserted) {
  unit = changedUnit;
  if (inserted) {
    st0 = static_cast<std::uint8_t>(st0::kReadyChange | changedUnit);
    st1 = 0;
    st2 = 0;
  } else {
    // A removal keeps ST1 and ST2 as the last command left them.
    st0 = static_cast<std::uint8_t>(st0::kReadyChange | st0::kNotReady | changedUnit);
  }
  EnterPhase(Phase::kCommand);
  ScheduleInterrupt();
}

void FloppyController::TickEvents() {
  // The periodic check comes every 11th tick: the countdown runs 10..0 and reloads.
  if (periodicCountdown == 0) {
    if ((control & control::kPeriodicInterrupt) == control::kPeriodicInterrupt) ScheduleInterrupt();
    periodicCountdown = kPeriodicReload;
  } else {
    --periodicCountdown;
  }
  if (interruptDelay == 1) {
    wiring_.raiseInterrupt(interfaceMode == kInterface1MB ? kInterruptLine1MB
                                                          : kInterruptLine640KB);
    EnterPhase(Phase::kResult);
  }
  if (interruptDelay != 0) --interruptDelay;
}

}  // namespace disk
