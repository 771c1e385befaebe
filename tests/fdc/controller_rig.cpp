#include "fdc/controller_rig.h"

namespace testing_support {

ControllerRig::ControllerRig() : memory_(kMemorySize, 0) {
  auto read = [](void* memory, std::uint32_t linear) {
    return (*static_cast<std::vector<std::uint8_t>*>(memory))[linear % kMemorySize];
  };
  auto write = [](void* memory, std::uint32_t linear, std::uint8_t value) {
    (*static_cast<std::vector<std::uint8_t>*>(memory))[linear % kMemorySize] = value;
  };
  dma.Connect({&memory_, read, write});
  dma.Reset();
  disk::FloppyController::Wiring wiring;
  for (int unit = 0; unit < 2; ++unit) {
    drives_[unit] =
        std::make_unique<disk::FloppyDrive>(static_cast<std::uint32_t>(unit), &settings);
    drives_[unit]->Reset();
    wiring.drives[unit] = drives_[unit].get();
  }
  wiring.dma = &dma;
  wiring.raiseInterrupt = {&lines_, [](void* lines, std::uint32_t line) {
                             static_cast<std::vector<std::uint32_t>*>(lines)->push_back(line);
                           }};
  fdc.Connect(wiring);
  fdc.Reset();
}

ControllerRig::~ControllerRig() {
  for (auto& drive : drives_) drive->Eject();
}

void ControllerRig::Out(std::uint16_t port, std::uint8_t value) {
  if (port < 0x40 || port == 0x439)
    dma.WritePort(port, value);
  else
    fdc.WritePort(port, value);
}

std::uint8_t ControllerRig::In(std::uint16_t port) {
  return port < 0x40 || port == 0x439 ? dma.ReadPort(port) : fdc.ReadPort(port);
}

void ControllerRig::Tick(int count) {
  for (int i = 0; i < count; ++i) fdc.Tick();
}

std::vector<std::uint32_t> ControllerRig::TakeInterruptLines() {
  std::vector<std::uint32_t> lines;
  lines.swap(lines_);
  return lines;
}

bool ControllerRig::Mount(int unit, const std::string& path) {
  return drives_[unit]->LoadImage(path.c_str()) != 0;
}

std::vector<std::uint8_t> ControllerRig::Memory(std::uint32_t at, std::uint32_t size) const {
  return {memory_.begin() + at, memory_.begin() + at + size};
}

}  // namespace testing_support
