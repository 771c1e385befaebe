#include "fdc/controller_rig.h"

#include <gtest/gtest.h>

namespace testing_support {

ControllerRig* ControllerRig::active_ = nullptr;

std::uint8_t MHW_CALL ControllerRig::ReadByte(std::uint32_t linear) {
  return active_->memory_[linear % kMemorySize];
}
void MHW_CALL ControllerRig::WriteByte(std::uint32_t linear, std::uint8_t value) {
  active_->memory_[linear % kMemorySize] = value;
}
void MHW_CALL ControllerRig::Raise(std::uint32_t line) {
  active_->lines_.push_back(line);
}

ControllerRig::ControllerRig() : memory_(kMemorySize, 0) {
  active_ = this;
  dma.Connect({&ReadByte, &WriteByte});
  dma.Reset();
  disk::FloppyController::Wiring wiring;
  for (int unit = 0; unit < 2; ++unit) {
    drives_[unit] = std::make_unique<disk::FloppyDrive>(static_cast<std::uint32_t>(unit));
    drives_[unit]->Reset();
    wiring.drives[unit] = drives_[unit].get();
  }
  wiring.dma = &dma;
  wiring.raiseInterrupt = &Raise;
  fdc.Connect(wiring);
  fdc.Reset();
}

ControllerRig::~ControllerRig() {
  for (auto& drive : drives_) drive->Eject();
  active_ = nullptr;
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

std::vector<std::uint32_t> ControllerRig::TakeLines() {
  std::vector<std::uint32_t> lines;
  lines.swap(lines_);
  return lines;
}

bool ControllerRig::Mount(int unit, const std::string& path) {
  return drives_[unit]->LoadImage(path.c_str()) != 0;
}

void ControllerRig::Command(std::initializer_list<std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) {
    const std::uint8_t status = In(kStatus);
    EXPECT_EQ(status & 0xC0, 0x80) << "main status " << int(status) << " before byte " << int(byte);
    Out(kData, byte);
  }
}

std::vector<std::uint8_t> ControllerRig::Results(int count) {
  std::vector<std::uint8_t> results;
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(In(kStatus), 0xD0) << "before result byte " << i;
    results.push_back(In(kData));
  }
  EXPECT_EQ(In(kStatus), 0x80) << "after the result phase";
  return results;
}

std::vector<std::uint8_t> ControllerRig::Run(std::initializer_list<std::uint8_t> bytes) {
  Command(bytes);
  Tick(2);
  EXPECT_TRUE(TakeLines().empty()) << "interrupt before the third tick";
  Tick(1);
  EXPECT_EQ(TakeLines().size(), 1u) << "no interrupt on the third tick";
  return Results(7);
}

std::vector<std::uint8_t> ControllerRig::SeekTo(std::uint8_t unitByte, std::uint8_t cylinder) {
  Command({0x0F, unitByte, cylinder});
  Tick(3);
  TakeLines();
  Command({0x08});
  return Results(2);
}

void ControllerRig::ProgramDma(int channel, std::uint32_t address, std::uint16_t count) {
  static constexpr std::uint16_t kBankPorts[4] = {0x27, 0x21, 0x23, 0x25};
  const auto base = static_cast<std::uint16_t>(channel * 4 + 1);
  Out(0x19, 0);
  Out(base, static_cast<std::uint8_t>(address));
  Out(base, static_cast<std::uint8_t>(address >> 8));
  Out(kBankPorts[channel], static_cast<std::uint8_t>(address >> 16));
  Out(static_cast<std::uint16_t>(base + 2), static_cast<std::uint8_t>(count));
  Out(static_cast<std::uint16_t>(base + 2), static_cast<std::uint8_t>(count >> 8));
  Out(0x15, static_cast<std::uint8_t>(channel));  // unmask
}

std::vector<std::uint8_t> ControllerRig::Memory(std::uint32_t at, std::uint32_t size) const {
  return {memory_.begin() + at, memory_.begin() + at + size};
}

}  // namespace testing_support
