// What every floppy BIOS operation shares: the call's registers, decoded, the drive and the
// controller it works on, and the checks and result rules common to the operations.
#pragma once

#include <cstdint>

#include "bios/bios_codes.h"
#include "bios/guest_registers.h"
#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"

namespace disk {

struct HostLink;

// Where a read or write walk over the sectors stands.
struct WalkPosition {
  std::uint8_t side;
  std::uint8_t slot;
  bool endOfTrack;  // the sector at `slot` is the last of its track
};

struct BiosCall {
  BiosCall(const HostLink& host, FloppyDrive& drive, FloppyController& fdc);

  const HostLink& host;
  FloppyDrive& drive;
  FloppyController& fdc;
  RegisterView regs;
  std::uint8_t unit;
  std::uint8_t ah;  // the call's AH: the register itself becomes the status as the call runs

  // AH: bit 4 seek first, bit 6 MFM, bit 7 multi-track.
  bool SeekFirst() const { return (ah & 0x10) != 0; }
  bool Mfm() const { return (ah & 0x40) != 0; }
  bool MultiTrack() const { return (ah & 0x80) != 0; }
  std::uint8_t Command() const { return ah & 0x0F; }
  std::uint8_t DeviceClass() const { return regs.AL() >> 4; }
  // The 640 KB classes 0x1 and 0x7.
  bool Is640Class() const { return DeviceClass() == 0x1 || DeviceClass() == 0x7; }

  // The controller's result bytes and AH.
  void SetResult(std::uint8_t st0, std::uint8_t st1, std::uint8_t status);
  // ST0, ST1, ST2 and AH as a sector or special record gives them on `side`.
  void ResultFrom(std::uint8_t side, std::uint8_t st0, std::uint8_t st1, std::uint8_t st2,
                  std::uint8_t status);

  // Fails with not ready when there is no disk.
  bool Ready();
  // The not-ready result: no disk, or a backing store that refused a write.
  void NotReady();
  // The class of the track under the head accepts AL's class (no disk: it does not).
  bool MediaClassFits() const;
  // AH bit 4: the head moves to cylinder CL first (skipped without a disk).
  void ImpliedSeek();
  // The side reads and writes work on: DH, inverted by AL bit 2.
  std::uint8_t Side() const;
  // The C a read or write expects: CL after a seek, otherwise the track's own.
  std::uint8_t ExpectedC() const;
  // The DA/UA class or the MFM bit does not fit the track.
  void WrongDensity();
  // Sector not found, or the walk ran off the track.
  void NoSector();
  // Moves a walk to the next sector in record order, over to side 1 at the end of side 0 when
  // AH asks for multi-track. False when the walk cannot go on: `trackEnded` tells whether the
  // track ended (rather than side 1 having no sectors).
  bool StepWalk(WalkPosition& at, bool& trackEnded);
  // AH of a record that ends a read well: 0x00, 0x01 or 0x10.
  static bool GoodStatus(std::uint8_t status) {
    return status == 0x00 || status == 0x01 || status == 0x10;
  }
};

// The operations, each returning true on success (AH and the result bytes set either way).
bool BiosRead(BiosCall& call);
bool BiosWrite(BiosCall& call);
bool BiosSeek(BiosCall& call);
bool BiosInitialize(BiosCall& call);
bool BiosSense(BiosCall& call);
bool BiosRecalibrate(BiosCall& call);
bool BiosReadId(BiosCall& call);
bool BiosFormatTrack(BiosCall& call);

// Runs the operation the call's AH names, with its implied seek; lights the lamp where the
// operation touches the disk.
bool RunBiosOperation(BiosCall& call);

}  // namespace disk
