// FORMAT TRACK: the BIOS sets up the controller and a DMA channel over the guest's ID list and
// runs the controller's command with the DA/UA class as the media type.
#include <algorithm>

#include "bios/floppy_bios_call.h"
#include "bios/guest_memory.h"
#include "bios/work_area.h"
#include "chips/dma_controller.h"

namespace disk {
namespace {

constexpr std::uint8_t kFormatGap = 26;
constexpr std::uint8_t k144SectorsPerTrack = 18;

// Sectors per track from the BIOS's disk parameter tables: the far pointer at `pointer` leads to
// a word per unit, which leads to the unit's table in the same segment; it holds eight bytes per
// size code, in two halves (FM 4 bytes in, MFM at the start).
std::uint8_t SectorsFromParameterTable(const BiosCall& call, std::uint32_t pointer) {
  const std::uint16_t offset = ReadGuestWord(call.host, pointer);
  const std::uint32_t segment = ReadGuestWord(call.host, pointer + 2);
  const auto perUnit = static_cast<std::uint16_t>(offset + 2 * call.unit);
  const std::uint16_t table = ReadGuestWord(call.host, segment * 16 + perUnit);
  const auto at = static_cast<std::uint16_t>(table + (call.Mfm() ? 0 : 4) + 8 * call.regs.CH() + 2);
  return ReadGuestByte(call.host, segment * 16 + at);
}

}  // namespace

bool BiosFormatTrack(BiosCall& call) {
  FloppyController& fdc = call.fdc;
  fdc.commandByte = call.ah;
  fdc.unitByte = static_cast<std::uint8_t>(call.unit | (call.regs.DH() != 0 ? fdc::st0::kHead : 0));
  fdc.idN = call.regs.CH();
  fdc.formatGpl = kFormatGap;
  fdc.formatFill = call.regs.DL();

  std::uint32_t sectors;
  if (call.DeviceClass() == 0x3)
    sectors = k144SectorsPerTrack;
  else if (call.Is640Class())
    sectors = SectorsFromParameterTable(call, work_area::k640KParameterTable);
  else
    sectors = SectorsFromParameterTable(call, work_area::k1MParameterTable);
  sectors = std::min<std::uint32_t>(sectors, call.regs.BX() / 4u);
  fdc.formatSc = static_cast<std::uint8_t>(sectors);

  DmaController* dma = fdc.wiring().dma;
  const int channel = fdc.DmaChannel();
  const std::uint32_t list = call.regs.EsBase() + call.regs.BP();
  if (dma != nullptr) {
    dma->address[channel] = static_cast<std::uint16_t>(list);
    dma->bank[channel] = static_cast<std::uint8_t>(list >> 16);
    dma->count[channel] = static_cast<std::uint16_t>(sectors * 4 + 1);
    dma->masked[channel] = 0;
  }
  fdc.FormatTrackCommand(call.regs.AL() & 0xF0);

  if ((fdc.st0 & 0xF8) == 0) {
    if (dma != nullptr) dma->masked[channel] = 1;
    call.regs.SetAH(bios_status::kDone);
    return true;
  }
  if ((fdc.st0 & fdc::st0::kNotReady) != 0)
    call.regs.SetAH(bios_status::kNotReady);
  else if ((fdc.st1 & fdc::st1::kNotWritable) != 0)
    call.regs.SetAH(bios_status::kWriteProtected);
  return false;
}

}  // namespace disk
