// The handlers the module registers with the host, one per machine event or guest service.
#pragma once

#include <cstdint>

#include "platform/host_abi.h"

namespace disk {

void MHW_CALL ResetDevices();
void MHW_CALL BiosStartup();
void MHW_CALL PowerOff();
void MHW_CALL PeriodicTick();
void MHW_CALL SaveState(std::uint8_t* buffer);
std::uint32_t MHW_CALL LoadState(const std::uint8_t* buffer);
std::uint32_t MHW_CALL DiskBiosHandler();
std::uint32_t MHW_CALL FloppyInterruptService();
std::uint32_t MHW_CALL RegisterDiskBiosHandler(std::uint32_t da, MhwDiskBiosHandler handler);

}  // namespace disk
