// READ DATA, READ DELETED DATA, VERIFY and READ DIAGNOSTIC: a special read answer when the track
// has one for the call, otherwise the sectors from R on in ascending record order.
#include <algorithm>

#include "bios/floppy_bios_call.h"
#include "bios/guest_memory.h"
#include "formats/floppy_geometry.h"
#include "media/backing_store.h"

namespace disk {
namespace {

constexpr std::uint8_t kDiagnosticSt1 = 0x24;  // data error and no data, marked on a bad read
constexpr std::uint8_t kDiagnosticSt2 = 0x20;  // data error in the data field

// The copy a read of a record returns next; the cursor runs over every stored copy in turn.
std::uint32_t NextCopy(std::uint8_t& cursor, std::uint8_t repeatCount) {
  const std::uint32_t copy = cursor;
  cursor = cursor >= repeatCount ? 0 : static_cast<std::uint8_t>(cursor + 1);
  return copy;
}

// Moves `length` bytes from the backing store at `position` to ES:BP + `offset`, in buffer-sized
// pieces; verify reads them without delivering.
void Deliver(BiosCall& call, std::uint32_t position, std::uint32_t offset, std::uint32_t length,
             bool toGuest, std::uint8_t* buffer) {
  for (std::uint32_t done = 0; done < length;) {
    const std::uint32_t n = std::min(length - done, kLargestSector);
    ReadSectorData(call.drive, position + done, buffer, n);
    if (toGuest)
      CopyToGuest(call.host, call.regs.ES(), call.regs.BP() + offset + done, buffer,
                  static_cast<std::int32_t>(n));
    done += n;
  }
}

// The special read record of the current track that answers the call, or null.
SpecialReadRecord* SpecialAnswer(BiosCall& call, std::uint8_t expectedC, std::uint8_t r,
                                 std::uint8_t n) {
  const bool diagnostic = call.Command() == bios_command::kReadDiagnostic;
  SpecialReadRecord* list = call.drive.Specials(call.drive.cylinder, call.drive.side);
  for (int i = 0; i < kSpecialsPerTrack && !list[i].EndsList(); ++i) {
    SpecialReadRecord& s = list[i];
    if (s.command == call.Command() && s.C == expectedC && s.H == call.regs.DH() &&
        (diagnostic || s.R == r) && s.N == n)
      return &s;
  }
  return nullptr;
}

}  // namespace

bool BiosRead(BiosCall& call) {
  FloppyDrive& drive = call.drive;
  const bool diagnostic = call.Command() == bios_command::kReadDiagnostic;
  const bool toGuest = call.Command() != bios_command::kVerify;
  std::int32_t remaining = call.regs.BX();
  if (!call.Ready()) return false;
  if (!call.MediaClassFits()) {
    call.WrongDensity();
    return false;
  }
  const std::uint8_t expectedC = call.ExpectedC();
  const std::uint8_t side = call.Side();
  drive.SelectSide(side);
  drive.ResetRotation();
  std::uint8_t r = call.regs.DL();
  if (diagnostic) {
    r = drive.NextSectorId().R;  // the first record after the index
    drive.ResetRotation();
  }
  const std::uint8_t n = call.regs.CH();
  std::uint8_t buffer[kLargestSector];

  if (SpecialReadRecord* special = SpecialAnswer(call, expectedC, r, n)) {
    drive.dataPosition = special->dataOffset;
    if (special->repeatCount != 0)
      drive.dataPosition +=
          NextCopy(special->repeatCursor, special->repeatCount) * special->dataLength;
    Deliver(call, drive.dataPosition, 0,
            std::min<std::uint32_t>(special->dataLength, call.regs.BX()), toGuest, buffer);
    call.ResultFrom(side, special->st0, special->st1, special->st2, special->status);
    return diagnostic || (call.regs.AH() >> 4) <= 1;
  }

  const SectorMatch match = drive.FindSector(call.Command(), expectedC, call.regs.DH(), r, n);
  if (!match.found) {
    call.NoSector();
    return false;
  }
  WalkPosition at = {side, match.slot, match.endOfTrack};
  std::uint32_t transferred = 0;
  for (;;) {
    SectorRecord& record = drive.Track(drive.cylinder, at.side)[at.slot];
    const std::uint32_t size = SectorSize(record.N);
    drive.dataPosition = drive.FindSectorData(drive.cylinder, at.side, record.R, record.N);
    if (record.repeatCount != 0)
      drive.dataPosition += NextCopy(record.repeatCursor, record.repeatCount) * size;
    const std::uint32_t toDeliver =
        remaining > 0 ? std::min(size, static_cast<std::uint32_t>(remaining)) : 0;
    ReadSectorData(drive, drive.dataPosition, buffer, size);
    if (toGuest && toDeliver > 0)
      CopyToGuest(call.host, call.regs.ES(), call.regs.BP() + transferred, buffer,
                  static_cast<std::int32_t>(toDeliver));
    call.ResultFrom(at.side, record.st0, record.st1, record.st2, record.status);
    if (diagnostic && (record.N != n || !BiosCall::GoodStatus(record.status))) {
      call.fdc.st1 |= kDiagnosticSt1;
      call.fdc.st2 |= kDiagnosticSt2;
    }
    // A sector recorded as bad delivers its data and ends the read with its status.
    if (!diagnostic && !BiosCall::GoodStatus(record.status)) return false;
    remaining -= static_cast<std::int32_t>(size);
    transferred += size;
    if (remaining <= 0) return diagnostic || (call.regs.AH() >> 4) <= 1;
    bool trackEnded = false;
    if (!call.StepWalk(at, trackEnded)) {
      if (diagnostic && trackEnded) return true;
      call.NoSector();
      return false;
    }
  }
}

}  // namespace disk
