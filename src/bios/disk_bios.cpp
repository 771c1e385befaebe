#include "bios/disk_bios.h"

#include "bios/bios_codes.h"
#include "bios/floppy_worker.h"
#include "bios/guest_memory.h"
#include "bios/guest_registers.h"
#include "bios/hard_disk_bios.h"
#include "bios/work_area.h"
#include "chips/dma_controller.h"
#include "media/hard_disk_drive.h"

namespace disk {
namespace {

// What the handler returns for hard-disk units 2 and 3: neither carry result.
constexpr std::uint32_t kNoSuchUnit = 1;

std::uint8_t ReadGuestMemory(void* host, std::uint32_t linear) {
  return ReadGuestByte(*static_cast<HostLink*>(host), linear);
}
void WriteGuestMemory(void* host, std::uint32_t linear, std::uint8_t value) {
  WriteGuestByte(*static_cast<HostLink*>(host), linear, value);
}
void RaiseHostInterrupt(void* host, std::uint32_t line) {
  if (MhwRaiseInterrupt raise = static_cast<HostLink*>(host)->raiseInterrupt) raise(line);
}
void ClaimDrivesFromWorker(void* bios) {
  TakeBackFloppyWorker(*static_cast<DiskBios*>(bios), true);
}

std::uint32_t HardDiskCall(DiskBios& bios, RegisterView regs) {
  const unsigned unit = regs.AL() & 3;
  HardDiskDrive* drive = unit < kHardDiskCount ? bios.devices.hardDisks[unit] : nullptr;
  if (drive == nullptr) {
    regs.SetAH(bios_status::kNoImage);
    return kNoSuchUnit;
  }
  bios.lightLamp(kFirstHardDiskPath + static_cast<int>(unit));
  // The drive may not have been through BIOS start-up yet; it serves the live registers.
  drive->registers = bios.host.registers;
  return ServeHardDiskCall(bios.host, *drive) ? mhw::kBiosCarryClear : mhw::kBiosCarrySet;
}

std::uint32_t ExtensionCall(DiskBios& bios, RegisterView regs) {
  const MhwWord handler = bios.biosExtension.handlers[DeviceClass(regs.AL())];
  if (handler == 0) {
    regs.SetAH(bios_status::kBadRequest);
    return mhw::kBiosCarryClear;
  }
  const std::uint32_t failed = reinterpret_cast<MhwDiskBiosHandler>(handler)(regs.AL() & 0xF0u);
  return failed != 0 ? mhw::kBiosCarrySet : mhw::kBiosCarryClear;
}

}  // namespace

DiskBios::DiskBios(HostLink& hostLink, Devices& machineDevices, const DriveSettings& driveSettings)
    : host(hostLink), devices(machineDevices), settings(driveSettings) {
  if (devices.dma != nullptr) devices.dma->Connect({&host, &ReadGuestMemory, &WriteGuestMemory});
  if (FloppyController* fdc = devices.fdc) {
    fdc->wiring().raiseInterrupt = {&host, &RaiseHostInterrupt};
    fdc->wiring().claimDrives = {this, &ClaimDrivesFromWorker};
  }
}

DiskBios::~DiskBios() {
  // A floppy worker still running uses the drives and the controller its owner deletes next.
  floppyCall.worker.Join();
}

std::uint32_t DiskBiosHandler(DiskBios& bios) {
  if (bios.host.registers == nullptr) return mhw::kBiosNoCarry;
  RegisterView regs(bios.host.registers);
  const unsigned deviceClass = DeviceClass(regs.AL());
  if (IsHardDiskClass(deviceClass)) return HardDiskCall(bios, regs);
  if (IsFloppyClass(deviceClass)) return FloppyBiosCall(bios);
  return ExtensionCall(bios, regs);
}

std::uint32_t FloppyInterruptService(DiskBios& bios) {
  FloppyController* fdc = bios.devices.fdc;
  if (fdc == nullptr) return mhw::kBiosNoCarry;
  const std::uint32_t unit = fdc->unit & 3;
  // A drive lent to the floppy worker reports where its head stood when the call began.
  const HeadPosition head = VisibleHead(bios, unit);
  // A seek's result carries PCN where the others carry ST1.
  const bool seekEnd = (fdc->st0 & fdc::st0::kSeekEnd) != 0;
  const std::uint8_t results[work_area::kFloppyResultSize] = {
      fdc->st0,  seekEnd ? fdc->pcn : fdc->st1,
      fdc->st2,  head.cylinder,
      head.side, fdc->idR,
      fdc->idN,  fdc->ncn,
  };
  const std::uint32_t at = work_area::kFloppyResults + work_area::kFloppyResultSize * unit;
  for (std::uint32_t i = 0; i < work_area::kFloppyResultSize; ++i)
    WriteGuestByte(bios.host, at + i, results[i]);
  WriteGuestByte(bios.host, work_area::kFloppyInterrupt, static_cast<std::uint8_t>(1u << unit));
  fdc->EnterPhase(FloppyController::Phase::kCommand);
  return mhw::kBiosNoCarry;
}

std::uint32_t RegisterDiskBiosHandler(DiskBios& bios, std::uint32_t da,
                                      MhwDiskBiosHandler handler) {
  const unsigned deviceClass = DeviceClass(static_cast<std::uint8_t>(da));
  // The classes this module serves itself are never handed out; an entry is never replaced.
  if (IsHardDiskClass(deviceClass) || IsFloppyClass(deviceClass)) return 0;
  MhwWord& entry = bios.biosExtension.handlers[deviceClass];
  if (entry != 0) return 0;
  entry = reinterpret_cast<MhwWord>(handler);
  return 1;
}

}  // namespace disk
