// The host's services and register block, a part of the root object: the words of the host's
// table that DeviceEntry keeps, and the saved copy of the guest's registers that a pending floppy
// call works on. Before DeviceEntry every word is null: guest memory then reads 0 and writes
// vanish, and nothing is raised, printed or queued.
#pragma once

#include <cstdint>

#include "platform/host_abi.h"

namespace disk {

struct HostLink {
  MhwWord* host = nullptr;            // the host's table
  std::uint8_t* registers = nullptr;  // the guest's GuestRegisters (slot 35)
  std::uint8_t savedRegisters[mhw::kRegistersSize] = {};
  MhwWord* hostWindowRecord = nullptr;  // slot 1
  // Guest memory by linear address (slots 28, 30 and 31) and by segment:offset (slots 22-27).
  MhwReadByteLinear readByteLinear = nullptr;
  MhwReadDwordLinear readDwordLinear = nullptr;
  MhwWriteByteLinear writeByteLinear = nullptr;
  MhwReadByteSeg readByteSeg = nullptr;
  MhwReadWordSeg readWordSeg = nullptr;
  MhwReadDwordSeg readDwordSeg = nullptr;
  MhwWriteByteSeg writeByteSeg = nullptr;
  MhwWriteWordSeg writeWordSeg = nullptr;
  MhwWriteDwordSeg writeDwordSeg = nullptr;
  MhwRaiseInterrupt raiseInterrupt = nullptr;  // fourth function of slot 34's table
  MhwReportLine reportLine = nullptr;          // slot 39
  MhwResume hostResume = nullptr;              // slot 21
  MhwRerunQueue* hostQueue = nullptr;          // slot 36
  MhwCharge chargeCost = nullptr;              // fifth function of slot 40's table
};

}  // namespace disk
