// The C boundary between the emulator host and this module. Both sides include this file; nothing
// else crosses the boundary. Every word of a host table is pointer-sized.
#pragma once

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define MHW_CALL __cdecl
#else
#define MHW_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uintptr_t MhwWord;

// Handlers the module hands to the host.
typedef void(MHW_CALL* MhwVoidHandler)(void);
typedef void(MHW_CALL* MhwOutHandler)(uint8_t value);
typedef uint8_t(MHW_CALL* MhwInHandler)(void);
typedef uint32_t(MHW_CALL* MhwInterruptHandler)(void);
typedef void(MHW_CALL* MhwSaveHandler)(uint8_t* buffer);
typedef uint32_t(MHW_CALL* MhwLoadHandler)(const uint8_t* buffer);
typedef uint32_t(MHW_CALL* MhwMenuLabel)(char* buffer);

// Functions the host offers in its table.
typedef void(MHW_CALL* MhwRegisterMenu)(uint32_t menuId, const char* caption, MhwVoidHandler click,
                                        MhwMenuLabel label);
typedef void(MHW_CALL* MhwRegisterOut)(uint32_t port, MhwOutHandler handler);
typedef void(MHW_CALL* MhwRegisterIn)(uint32_t port, MhwInHandler handler);
typedef void(MHW_CALL* MhwRegisterInterrupt)(uint32_t interrupt, uint32_t ah,
                                             MhwInterruptHandler handler);
typedef void(MHW_CALL* MhwRegisterHandler)(MhwVoidHandler handler);
typedef void(MHW_CALL* MhwRegisterSave)(uint32_t size, MhwSaveHandler save);
typedef void(MHW_CALL* MhwRegisterLoad)(MhwLoadHandler load);
typedef void(MHW_CALL* MhwResume)(void);
typedef uint8_t(MHW_CALL* MhwReadByteSeg)(uint32_t segment, uint32_t offset);
typedef uint16_t(MHW_CALL* MhwReadWordSeg)(uint32_t segment, uint32_t offset);
typedef uint32_t(MHW_CALL* MhwReadDwordSeg)(uint32_t segment, uint32_t offset);
typedef void(MHW_CALL* MhwWriteByteSeg)(uint32_t segment, uint32_t offset, uint8_t value);
typedef void(MHW_CALL* MhwWriteWordSeg)(uint32_t segment, uint32_t offset, uint16_t value);
typedef void(MHW_CALL* MhwWriteDwordSeg)(uint32_t segment, uint32_t offset, uint32_t value);
typedef uint8_t(MHW_CALL* MhwReadByteLinear)(uint32_t linear);
typedef uint16_t(MHW_CALL* MhwReadWordLinear)(uint32_t linear);
typedef uint32_t(MHW_CALL* MhwReadDwordLinear)(uint32_t linear);
typedef void(MHW_CALL* MhwWriteByteLinear)(uint32_t linear, uint8_t value);
typedef void(MHW_CALL* MhwWriteWordLinear)(uint32_t linear, uint16_t value);
typedef void(MHW_CALL* MhwWriteDwordLinear)(uint32_t linear, uint32_t value);
typedef void(MHW_CALL* MhwRaiseInterrupt)(uint32_t line);
typedef void(MHW_CALL* MhwReportLine)(const char* line);
typedef void(MHW_CALL* MhwCharge)(int32_t cost);
typedef uint32_t(MHW_CALL* MhwMouseState)(MhwWord* host);

// Other modules' functions handed over through DeviceConect.
typedef uint8_t(MHW_CALL* MhwBootQuery)(uint32_t query);
typedef uint32_t(MHW_CALL* MhwDialogModeFlag)(void);
typedef uint32_t*(MHW_CALL* MhwDialogModePointer)(void);
typedef void(MHW_CALL* MhwDialogNotify)(void);

// Disk BIOS extension for other modules' device types.
typedef uint32_t(MHW_CALL* MhwDiskBiosHandler)(uint32_t daClass);
typedef uint32_t(MHW_CALL* MhwRegisterDiskBiosHandler)(uint32_t da, MhwDiskBiosHandler handler);

typedef struct MhwDiskBiosExtension {
  MhwRegisterDiskBiosHandler RegisterDiskBiosHandler;
  MhwWord handlers[16];  // by DA high nibble; 0 = empty
} MhwDiskBiosExtension;

typedef struct MhwRerunQueue {
  uint32_t entries[256];
  uint32_t count;
} MhwRerunQueue;

// The module's exports.
typedef void(MHW_CALL* MhwSetPath)(const char* iniPath);
typedef uint32_t(MHW_CALL* MhwDeviceEntry)(MhwWord* host);
typedef uint32_t(MHW_CALL* MhwDeviceConect)(MhwWord* modules);
typedef void*(MHW_CALL* MhwFastGUI)(void* hostWindow, MhwWord value);
typedef void(MHW_CALL* MhwDeviceConfig)(void* parentWindow);
typedef uint32_t(MHW_CALL* MhwDeviceVer)(char* buffer);

#ifdef __cplusplus
}  // extern "C"

namespace mhw {

// Slots of the host's service table.
enum HostSlot : unsigned {
  kSlotMainWindowRecord = 1,
  kSlotRegisterMenu = 3,
  kSlotRegisterOut = 4,
  kSlotRegisterIn = 7,
  kSlotRegisterInterrupt = 11,
  kSlotRegisterReset = 12,
  kSlotRegisterStartup = 13,
  kSlotRegisterSave = 14,
  kSlotRegisterLoad = 15,
  kSlotRegisterPowerOff = 16,
  kSlotRegisterTick = 17,
  kSlotResume = 21,
  kSlotReadByteSeg = 22,
  kSlotReadWordSeg = 23,
  kSlotReadDwordSeg = 24,
  kSlotWriteByteSeg = 25,
  kSlotWriteWordSeg = 26,
  kSlotWriteDwordSeg = 27,
  kSlotReadByteLinear = 28,
  kSlotReadWordLinear = 29,
  kSlotReadDwordLinear = 30,
  kSlotWriteByteLinear = 31,
  kSlotWriteWordLinear = 32,
  kSlotWriteDwordLinear = 33,
  kSlotInterruptTable = 34,
  kSlotRegisters = 35,
  kSlotRerunQueue = 36,
  kSlotReportLine = 39,
  kSlotChargeTable = 40,
  kSlotDiskBiosExtension = 188,
  kSlotMouseRecord = 32773,
};
inline constexpr unsigned kHostTableWords = 32774;

inline constexpr unsigned kMainWindowWord = 10;     // in the record of slot 1
inline constexpr unsigned kRaiseInterruptWord = 3;  // in the table of slot 34
inline constexpr unsigned kChargeWord = 4;          // in the table of slot 40

// Entries of the DeviceConect table and how many functions each carries.
inline constexpr unsigned kModuleBootSelector = 95;
inline constexpr unsigned kModuleDialogMode = 140;
inline constexpr unsigned kModuleDisplayMode = 142;
inline constexpr unsigned kBootSelectorFunctions = 2;
inline constexpr unsigned kDialogModeFunctions = 2;
inline constexpr unsigned kDisplayModeFunctions = 9;

// Results of an interrupt hook.
inline constexpr uint32_t kBiosCarryClear = 0x200;
inline constexpr uint32_t kBiosCarrySet = 0x201;
inline constexpr uint32_t kBiosNoCarry = 0x100;

inline constexpr uint32_t kRerunRequest = 2;  // low byte of a queue entry
inline constexpr uint32_t kSnapshotSize = 1053;
inline constexpr unsigned kRegistersSize = 284;

// The function in a slot of the host's table, and the one at `index` of the table a slot points
// at (null when the slot holds none).
template <typename Function>
Function Slot(const MhwWord* table, unsigned slot) {
  return reinterpret_cast<Function>(table[slot]);
}
template <typename Function>
Function TableWord(const MhwWord* table, unsigned slot, unsigned index) {
  auto* inner = reinterpret_cast<const MhwWord*>(table[slot]);
  return inner != nullptr ? reinterpret_cast<Function>(inner[index]) : nullptr;
}

// Byte offsets into the guest's register block.
namespace reg {
inline constexpr unsigned kAL = 0, kAH = 1, kCX = 4, kCL = 4, kCH = 5, kDX = 8, kDL = 8, kDH = 9,
                          kBX = 12, kBP = 20;
inline constexpr unsigned kSegments = 32, kSegmentRecordSize = 17, kSegmentValue = 8;
inline constexpr unsigned kES = kSegments + 0 * kSegmentRecordSize;
inline constexpr unsigned kCS = kSegments + 1 * kSegmentRecordSize;
inline constexpr unsigned kSS = kSegments + 2 * kSegmentRecordSize;
inline constexpr unsigned kDS = kSegments + 3 * kSegmentRecordSize;
inline constexpr unsigned kIP = 134;
}  // namespace reg

}  // namespace mhw
#endif
