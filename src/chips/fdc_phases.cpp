// The data register: command decode, parameter bytes, result bytes and the phase changes.
#include <span>

#include "chips/floppy_controller.h"

namespace disk {

using namespace fdc;

namespace {

using Register = std::uint8_t FloppyController::*;
using Steps = std::span<const Register>;

// Where each byte of a command goes, by its index (0 = the command byte); a null step drops
// the byte. The last step starts the execution.
constexpr Register kTransferSteps[] = {nullptr,
                                       &FloppyController::unitByte,
                                       &FloppyController::idC,
                                       &FloppyController::idH,
                                       &FloppyController::idR,
                                       &FloppyController::idN,
                                       &FloppyController::eot,
                                       &FloppyController::gpl,
                                       &FloppyController::dtl};
constexpr Register kFormatSteps[] = {nullptr,
                                     &FloppyController::unitByte,
                                     &FloppyController::idN,
                                     &FloppyController::formatSc,
                                     &FloppyController::formatGpl,
                                     &FloppyController::formatFill};
constexpr Register kSeekSteps[] = {nullptr, &FloppyController::unitByte, &FloppyController::ncn};
constexpr Register kUnitSteps[] = {nullptr, &FloppyController::unitByte};
constexpr Register kSpecifySteps[] = {nullptr, nullptr, nullptr};

Steps StepsOf(std::uint32_t command) {
  switch (command) {
    case kReadData:
    case kWriteData:
    case kReadDiagnostic:
      return kTransferSteps;
    case kFormatTrack:
      return kFormatSteps;
    case kSeek:
      return kSeekSteps;
    case kSpecify:
      return kSpecifySteps;
    case kRecalibrate:
    case kReadId:
    case kSenseDriveStatus:
      return kUnitSteps;
    default:
      return {};
  }
}

// Commands that work on a drive: every one with parameters but specify.
bool UsesDrive(std::uint32_t command) {
  return command != kSpecify && !StepsOf(command).empty();
}

// Index of the result byte that ends the result phase of the read/write/format/read-ID family.
constexpr std::uint32_t kLastIdResult = 6;
// Read diagnostic's record byte: dropped, the search always starts from record 1.
constexpr std::uint32_t kRecordIndex = 4;

}  // namespace

void FloppyController::EnterPhase(Phase phase) {
  switch (phase) {
    case Phase::kCommand:
      paramIndex = 0;
      mainStatus = msr::kIdle;
      command = kNoCommand;
      break;
    case Phase::kExecution:
      mainStatus = static_cast<std::uint8_t>(
          (mainStatus & (msr::kToHost | msr::kBusy | msr::kDriveBusyMask)) | msr::kExecution);
      break;
    case Phase::kResult:
      resultIndex = 0;
      if (command == kRecalibrate || command == kSeek) {
        // Back to the command phase with the drive's busy bit until sense interrupt status.
        mainStatus = static_cast<std::uint8_t>(msr::kIdle | (1u << (unit & 3)));
        paramIndex = 0;
      } else if (command == kNoCommand) {
        mainStatus = msr::kIdle;
      } else {
        mainStatus = msr::kResultReady;
      }
      break;
  }
}

void FloppyController::WriteDataRegister(std::uint8_t value) {
  // A drive lent out comes back before a command that may use it takes its first byte, so that
  // what the borrower leaves in the registers comes before the guest's parameters, not over them.
  const std::uint32_t continued = paramIndex == 0 ? value & kCommandMask : command;
  if (UsesDrive(continued)) wiring_.claimDrives();
  if (paramIndex == 0) {
    DecodeCommand(value);
  } else {
    TakeParameter(value);
  }
}

void FloppyController::DecodeCommand(std::uint8_t value) {
  mainStatus |= msr::kBusy;
  commandByte = value;
  const std::uint32_t low = value & kCommandMask;
  if (low == kSenseInterruptStatus) {
    command = kSenseInterruptStatus;
    SenseInterruptStatus();
    EnterPhase(Phase::kResult);
  } else if (!StepsOf(low).empty()) {
    command = low;
    paramIndex = 1;
  }
  // Anything else (scan, deleted data, version...) is not served: the next byte is a command
  // byte again.
}

void FloppyController::TakeParameter(std::uint8_t value) {
  const Steps steps = StepsOf(command);
  if (paramIndex >= steps.size()) return;  // no step for this byte
  const Register target = steps[paramIndex];
  if (target != nullptr) this->*target = value;
  if (target == &FloppyController::unitByte) unit = value & st0::kUnitMask;
  if (command == kReadDiagnostic && paramIndex == kRecordIndex) idR = 1;
  if (paramIndex + 1 < steps.size()) {
    ++paramIndex;
    return;
  }
  // The last byte: paramIndex stays, so a further byte written before the command phase comes
  // back is taken as the last parameter again and runs the command once more.
  if (command == kSpecify) {
    EnterPhase(Phase::kCommand);
  } else if (command == kSenseDriveStatus) {
    SenseDriveStatus();
  } else {
    Execute();
  }
}

void FloppyController::Execute() {
  EnterPhase(Phase::kExecution);
  switch (command) {
    case kReadData:
    case kReadDiagnostic:
      ReadData();
      break;
    case kWriteData:
      WriteData();
      break;
    case kReadId:
      ReadId();
      break;
    case kFormatTrack:
      FormatTrackCommand(0);
      break;
    case kSeek:
      Seek();
      break;
    case kRecalibrate:
      Recalibrate();
      break;
    default:
      break;
  }
  ScheduleInterrupt();
}

std::uint8_t FloppyController::ReadDataRegister() {
  switch (command) {
    case kReadDiagnostic:
    case kWriteData:
    case kReadData:
    case kReadId:
    case kFormatTrack: {
      const std::uint8_t results[] = {st0, st1, st2, idC, idH, idR, idN};
      if (resultIndex > kLastIdResult) return dataLatch;
      const std::uint8_t value = results[resultIndex];
      if (resultIndex == kLastIdResult) {
        dataLatch = value;
        EnterPhase(Phase::kCommand);
      } else {
        ++resultIndex;
      }
      return value;
    }
    case kSenseDriveStatus:
      dataLatch = st3;
      EnterPhase(Phase::kCommand);
      return st3;
    case kSenseInterruptStatus:
      if (resultIndex == 0) {
        const std::uint8_t value = st0;
        if ((st0 & st0::kInterruptCodeMask) == st0::kInvalidCommand) {
          EnterPhase(Phase::kCommand);
        } else {
          resultIndex = 1;
        }
        return value;
      }
      if (resultIndex == 1) {
        EnterPhase(Phase::kCommand);
        return pcn;
      }
      return dataLatch;
    case kNoCommand:
      st0 = st0::kInvalidCommand;
      EnterPhase(Phase::kCommand);
      return st0::kInvalidCommand;
    default:
      return dataLatch;
  }
}

}  // namespace disk
