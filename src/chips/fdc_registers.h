// Names for the uPD765A's registers, status bits, commands and the machine's interface ports, and
// a decoded view of the command bytes, so that no raw mask is repeated across the controller.
#pragma once

#include <cstdint>

namespace disk::fdc {

// Guest I/O ports. Both interfaces reach the one controller.
namespace port {
inline constexpr std::uint16_t kStatus1MB = 0x90;
inline constexpr std::uint16_t kData1MB = 0x92;
inline constexpr std::uint16_t kControl1MB = 0x94;
inline constexpr std::uint16_t kStatus640KB = 0xC8;
inline constexpr std::uint16_t kData640KB = 0xCA;
inline constexpr std::uint16_t kControl640KB = 0xCC;
inline constexpr std::uint16_t kInterfaceMode = 0xBE;
inline constexpr std::uint16_t kMode144 = 0x4BE;
}  // namespace port

// Main status register.
namespace msr {
inline constexpr std::uint8_t kRequest = 0x80;    // RQM: ready for a data byte
inline constexpr std::uint8_t kToHost = 0x40;     // DIO: controller to guest
inline constexpr std::uint8_t kExecution = 0x20;  // execution phase
inline constexpr std::uint8_t kBusy = 0x10;       // CB: a command is in progress
inline constexpr std::uint8_t kDriveBusyMask = 0x0F;
inline constexpr std::uint8_t kIdle = kRequest;
inline constexpr std::uint8_t kResultReady = kRequest | kToHost | kBusy;  // 0xD0
}  // namespace msr

namespace st0 {
inline constexpr std::uint8_t kAbnormalEnd = 0x40;
inline constexpr std::uint8_t kInvalidCommand = 0x80;
inline constexpr std::uint8_t kReadyChange = 0xC0;
inline constexpr std::uint8_t kInterruptCodeMask = 0xC0;
inline constexpr std::uint8_t kSeekEnd = 0x20;
inline constexpr std::uint8_t kNotReady = 0x08;
inline constexpr std::uint8_t kHead = 0x04;
inline constexpr std::uint8_t kUnitMask = 0x03;
// Every not-ready result carries the abnormal-end code and seek end as well.
inline constexpr std::uint8_t kNotReadyResult = kAbnormalEnd | kSeekEnd | kNotReady;  // 0x68
}  // namespace st0

namespace st1 {
inline constexpr std::uint8_t kNoData = 0x04;
inline constexpr std::uint8_t kNotWritable = 0x02;
inline constexpr std::uint8_t kMissingAddressMark = 0x01;
}  // namespace st1

namespace st3 {
inline constexpr std::uint8_t kWriteProtected = 0x40;
inline constexpr std::uint8_t kReady = 0x20;
inline constexpr std::uint8_t kTrack0 = 0x10;
inline constexpr std::uint8_t kTwoSided = 0x08;
inline constexpr std::uint8_t kHeadAndUnit = 0x07;
}  // namespace st3

// Control register (ports 0x94, 0xCC).
namespace control {
inline constexpr std::uint8_t kReset = 0x80;
inline constexpr std::uint8_t kForceReady = 0x40;
inline constexpr std::uint8_t kPeriodicInterrupt = 0x06;  // both bits enable it
inline constexpr std::uint8_t kAfterReset = 0x38;
inline constexpr std::uint8_t kReadValue = 0x74;  // whatever was written
}  // namespace control

// The interface mode ports: 0xBE (bit 0 chooses the interface, bit 1 the DMA channel) and 0x4BE
// (1.44 MB mode only when both enable bits are set), and what they read back.
namespace mode {
inline constexpr std::uint8_t kSelect1MB = 0x01;
inline constexpr std::uint8_t kSelectChannel2 = 0x02;
inline constexpr std::uint8_t k144Enable = 0x11;
inline constexpr std::uint8_t kRead640KB = 0x08;
inline constexpr std::uint8_t kRead1MB = 0x0B;
inline constexpr std::uint8_t k144Read144 = 0xFF;
inline constexpr std::uint8_t k144ReadOther = 0xFE;
}  // namespace mode

// Command numbers: the low four bits of the command byte.
enum Command : std::uint32_t {
  kNoCommand = 0x0,
  kReadDiagnostic = 0x2,
  kSpecify = 0x3,
  kSenseDriveStatus = 0x4,
  kWriteData = 0x5,
  kReadData = 0x6,
  kRecalibrate = 0x7,
  kSenseInterruptStatus = 0x8,
  kReadId = 0xA,
  kFormatTrack = 0xD,
  kSeek = 0xF,
};
inline constexpr std::uint8_t kCommandMask = 0x0F;

// interfaceMode values.
enum InterfaceMode : std::uint32_t {
  kInterface1MB = 0,
  kInterface144 = 1,
  kInterface640KB = 2,
};

// Interrupt lines of the two interfaces.
inline constexpr std::uint32_t kInterruptLine1MB = 3;
inline constexpr std::uint32_t kInterruptLine640KB = 2;

// Ticks from ScheduleInterrupt to the interrupt, and between two periodic checks.
inline constexpr std::uint32_t kInterruptDelayTicks = 3;
inline constexpr std::uint32_t kPeriodicReload = 10;

// The first two command bytes, decoded.
struct CommandBits {
  bool multiTrack;  // MT
  bool mfm;         // MF: double density
  std::uint8_t head;
  std::uint32_t unit;

  static CommandBits Decode(std::uint8_t commandByte, std::uint8_t unitByte) {
    return {(commandByte & 0x80) != 0, (commandByte & 0x40) != 0,
            static_cast<std::uint8_t>((unitByte >> 2) & 1), unitByte & 3u};
  }
  // The HD bit as it sits in ST0 and in the unit byte.
  std::uint8_t headBit() const { return head != 0 ? st0::kHead : 0; }
};

}  // namespace disk::fdc
