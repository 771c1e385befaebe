// The guest I/O ports the module serves, in the order they are registered with the host.
#pragma once

#include <array>
#include <cstdint>

#include "plugin/host_abi.h"

namespace disk {

inline constexpr std::array<std::uint16_t, 22> kDmaOutPorts = {
    0x01, 0x03, 0x05, 0x07, 0x09, 0x0B, 0x0D, 0x0F, 0x11, 0x13, 0x15,
    0x17, 0x19, 0x1B, 0x1D, 0x1F, 0x21, 0x23, 0x25, 0x27, 0x29, 0x439};
inline constexpr std::array<std::uint16_t, 15> kDmaInPorts = {
    0x01, 0x03, 0x05, 0x07, 0x09, 0x0B, 0x0D, 0x0F, 0x11, 0x1B, 0x21, 0x23, 0x25, 0x27, 0x439};
inline constexpr std::array<std::uint16_t, 6> kFdcOutPorts = {0x92, 0x94, 0xBE,
                                                              0xCA, 0xCC, 0x4BE};
inline constexpr std::array<std::uint16_t, 8> kFdcInPorts = {0x90, 0x92, 0x94, 0xBE,
                                                             0xC8, 0xCA, 0xCC, 0x4BE};

// Registers every port above with the host's out/in registration functions.
void RegisterPorts(MhwRegisterOut registerOut, MhwRegisterIn registerIn);

}  // namespace disk
