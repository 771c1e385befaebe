#include "bios/guest_memory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bios/host_link.h"

namespace {

// A host that records each memory access as "kind@offset" and keeps the bytes written.
struct Recorder {
  std::vector<std::string> accesses;
  std::vector<std::int32_t> charges;
  std::vector<std::uint8_t> memory = std::vector<std::uint8_t>(64, 0);
};
Recorder* gRec = nullptr;

void Put(std::uint32_t offset, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    gRec->memory[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
std::uint32_t Get(std::uint32_t offset, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i)
    v |= static_cast<std::uint32_t>(gRec->memory[offset + i]) << (8 * i);
  return v;
}

class GuestMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gRec = &rec;
    host.chargeCost = [](std::int32_t cost) { gRec->charges.push_back(cost); };
    host.writeDwordSeg = [](std::uint32_t, std::uint32_t o, std::uint32_t v) {
      gRec->accesses.push_back("d@" + std::to_string(o));
      Put(o, v, 4);
    };
    host.writeWordSeg = [](std::uint32_t, std::uint32_t o, std::uint16_t v) {
      gRec->accesses.push_back("w@" + std::to_string(o));
      Put(o, v, 2);
    };
    host.writeByteSeg = [](std::uint32_t, std::uint32_t o, std::uint8_t v) {
      gRec->accesses.push_back("b@" + std::to_string(o));
      Put(o, v, 1);
    };
    host.readDwordSeg = [](std::uint32_t, std::uint32_t o) {
      gRec->accesses.push_back("d@" + std::to_string(o));
      return Get(o, 4);
    };
    host.readWordSeg = [](std::uint32_t, std::uint32_t o) {
      gRec->accesses.push_back("w@" + std::to_string(o));
      return static_cast<std::uint16_t>(Get(o, 2));
    };
    host.readByteSeg = [](std::uint32_t, std::uint32_t o) {
      gRec->accesses.push_back("b@" + std::to_string(o));
      return static_cast<std::uint8_t>(Get(o, 1));
    };
  }
  void TearDown() override { gRec = nullptr; }

  Recorder rec;
  disk::HostLink host;
};

TEST_F(GuestMemoryTest, SevenBytesMoveAsDwordWordByteInGuestOrder) {
  const std::uint8_t source[7] = {1, 2, 3, 4, 5, 6, 7};
  disk::CopyToGuest(host, 0x1000, 8, source, 7);
  EXPECT_EQ(rec.accesses, (std::vector<std::string>{"d@8", "w@12", "b@14"}));
  EXPECT_EQ(std::vector<std::uint8_t>(rec.memory.begin() + 8, rec.memory.begin() + 15),
            std::vector<std::uint8_t>(source, source + 7));
  EXPECT_EQ(rec.charges, (std::vector<std::int32_t>{10001}));

  rec.accesses.clear();
  std::uint8_t back[7] = {};
  disk::CopyFromGuest(host, back, 0x1000, 8, 7);
  EXPECT_EQ(rec.accesses, (std::vector<std::string>{"d@8", "w@12", "b@14"}));
  EXPECT_EQ(std::vector<std::uint8_t>(back, back + 7),
            std::vector<std::uint8_t>(source, source + 7));
}

TEST_F(GuestMemoryTest, EmptyCopyChargesTheBaseAndTouchesNothing) {
  std::uint8_t byte = 0;
  disk::CopyToGuest(host, 0, 0, &byte, 0);
  disk::CopyFromGuest(host, &byte, 0, 0, 0);
  EXPECT_TRUE(rec.accesses.empty());
  EXPECT_EQ(rec.charges, (std::vector<std::int32_t>{10000, 10000}));
}

TEST_F(GuestMemoryTest, NegativeCountsChargeTheirTruncatedQuotientAndMoveNothing) {
  std::uint8_t byte = 0;
  disk::CopyToGuest(host, 0, 0, &byte, -7);
  EXPECT_TRUE(rec.accesses.empty());
  EXPECT_EQ(rec.charges, (std::vector<std::int32_t>{9999}));
}

TEST_F(GuestMemoryTest, OffsetsRunOnPastTheSegmentLimit) {
  rec.memory.resize(0x10010);
  std::vector<std::uint8_t> source(8, 0x11);
  disk::CopyToGuest(host, 0, 0xFFFC, source.data(), 8);
  EXPECT_EQ(rec.accesses, (std::vector<std::string>{"d@65532", "d@65536"}));
}

TEST_F(GuestMemoryTest, SectorCostsOneHostCallPerDword) {
  std::vector<std::uint8_t> sector(512, 0xAB);
  rec.memory.resize(600);
  disk::CopyToGuest(host, 0, 0, sector.data(), 512);
  EXPECT_EQ(rec.accesses.size(), 128u);
  EXPECT_EQ(rec.charges, (std::vector<std::int32_t>{10128}));
}

}  // namespace
