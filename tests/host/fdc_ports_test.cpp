// The floppy controller and the DMA controller at the guest's ports, without a disk.
#include "host/module_fixture.h"

namespace {

using FdcPortsTest = testing_support::ModuleTest;

// Each script runs on a fresh machine.
TEST_F(FdcPortsTest, Scripts) {
  const char* scripts[] = {
      // Reset values on every port, and nothing to report.
      "90?80 C8?80 94?74 CC?74 BE?0B 4BE?FE 92?80 90?80",
      // No disk: a not-ready seek end with the cylinder asked for, reported once; the interrupt
      // comes on the third tick, in the execution phase until then.
      "c0F,00,05 90?30 t2 i- t1 i3 90?81 c08 r68,05 n t20 i-",
      // A seek needs a disk, ready or not; a recalibrate with the drive forced ready ends at
      // cylinder 0.
      "c07,01 t3 90?82 c08 r69,00 94=40 c0F,01,09 t3 c08 r69,09 c07,01 t3 c08 r21,00",
      // Sense drive status answers at once (ready, two-sided, track 0 when forced ready); specify
      // leaves the command phase; write deleted data is not served; only the low four bits count.
      "c03,C1,46 90?80 c09 92?80 90?80 c04,00 r00 c04,05 r05 94=40 c04,01 r39 t5 i-"
      " c2F,00,03 t3 90?81 cE8 r68,03",
      // A parameter written before the interrupt runs the command again.
      "c0F,00,05 92=07 t2 i- t1 i3 t1 i- c08 r68,07",
      // Both interfaces reach the one controller.
      "C8?80 CA=0F C8?90 CA=01 C8?90 CA=02 t3 C8?82 90?82 c08 r69,02",
      // 0xBE = 2: the 640 KB interface, line 2; 0x4BE takes both bits or nothing; 0xBE = 3: 1 MB.
      "BE=02 BE?08 c07,00 t3 i2 c08 r68,00 4BE=10 4BE?FE 4BE=11 4BE?FF BE?0B c07,00 t3 i2"
      " c08 r68,00 BE=03 4BE?FE c07,00 t3 i3",
      // The check comes on the 11th tick after reset and every 11th after it, the interrupt two
      // ticks after it, and leaves nothing to report; it needs both bits of the control port. A
      // control reset with both bits leaves the default value, so no periodic interrupt follows.
      "94=06 t12 i- t1 i3 t10 i- t1 i3 t10 i- t1 i3 n"
      " 94=02 t30 i- 94=04 t30 i- c0F,00 90?90 94=86 90?80 t30 i- c04,00 r00",
      // A machine reset drops a pending interrupt.
      "c07,00 t1 R t5 i- 90?80",
      // One flip-flop for reads and writes of every register; the bank registers, 0x1B and 0x11
      // read 0; 0x439 keeps its value until a reset.
      "439?80 19=00 01=34 01=12 01?34 01?12 05=78 07?00 05=56 19=00 05?56"
      " 1B=5A 1B?00 21=5A 21?00 23=5A 23?00 25=5A 25?00 27=5A 27?00 11=5A 11?00"
      " 439=3C 439?3C R 439?80",
  };
  for (const char* script : scripts) {
    SCOPED_TRACE(script);
    Attach();
    host->Reset();
    host->TakeInterruptLines();
    Script(script);
  }
}

}  // namespace
