// The encode table and the buffer processor: a fixed-point-free permutation and its inverse,
// round trips both ways, refusals, and the factories.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <set>
#include <vector>

#include "mask/buffer_proc.h"
#include "mask/encode_table.h"

namespace {

struct DeleteProc {
  void operator()(IBufferProc* proc) const { BufferProc_Delete(proc); }
};
using ProcPtr = std::unique_ptr<IBufferProc, DeleteProc>;

std::vector<uint8_t> AllBytesTwice() {
  std::vector<uint8_t> bytes;
  for (int round = 0; round < 2; ++round)
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<uint8_t>(round ? 255 - b : b));
  return bytes;
}

TEST(EncodeTable, IsAPermutationThatMovesEveryByte) {
  std::set<int> values(g_encodeTable, g_encodeTable + 256);
  EXPECT_EQ(values.size(), 256u);
  for (int b = 0; b < 256; ++b) EXPECT_NE(g_encodeTable[b], b) << "byte " << b;
}

TEST(BufferProc, DecodeTableInvertsTheEncodeTable) {
  const CBufferProc proc;
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(proc.decodeTable[g_encodeTable[b]], b);
    EXPECT_EQ(g_encodeTable[proc.decodeTable[b]], b);
  }
}

TEST(BufferProc, EncodeDecodeRoundTripsBothWays) {
  ProcPtr proc(BufferProc_Create());
  ASSERT_NE(proc, nullptr);
  const std::vector<uint8_t> original = AllBytesTwice();
  std::vector<uint8_t> bytes = original;

  ASSERT_TRUE(proc->Encode(bytes.data(), static_cast<unsigned>(bytes.size())));
  for (size_t i = 0; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], g_encodeTable[original[i]]);
  ASSERT_TRUE(proc->Decode(bytes.data(), static_cast<unsigned>(bytes.size())));
  EXPECT_EQ(bytes, original);

  ASSERT_TRUE(proc->Decode(bytes.data(), static_cast<unsigned>(bytes.size())));
  EXPECT_NE(bytes, original);
  ASSERT_TRUE(proc->Encode(bytes.data(), static_cast<unsigned>(bytes.size())));
  EXPECT_EQ(bytes, original);
}

TEST(BufferProc, OnlyTheFirstLengthBytesChange) {
  ProcPtr proc(BufferProc_Create());
  std::vector<uint8_t> bytes(8, 0x41);
  ASSERT_TRUE(proc->Encode(bytes.data(), 3));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{g_encodeTable[0x41], g_encodeTable[0x41],
                                         g_encodeTable[0x41], 0x41, 0x41, 0x41, 0x41, 0x41}));
}

TEST(BufferProc, NullOrEmptyIsRefusedUntouched) {
  ProcPtr proc(BufferProc_Create());
  uint8_t byte = 7;
  EXPECT_FALSE(proc->Encode(nullptr, 4));
  EXPECT_FALSE(proc->Decode(nullptr, 4));
  EXPECT_FALSE(proc->Encode(&byte, 0));
  EXPECT_FALSE(proc->Decode(&byte, 0));
  EXPECT_EQ(byte, 7);
}

TEST(MaskFactories, CreateDistinctObjectsAndDeleteIgnoresNull) {
  IBufferProc* first = BufferProc_Create();
  IBufferProc* second = BufferProc_Create();
  IDitherMaskGenerator* generator = DitherMaskGenerator_Create();
  ASSERT_TRUE(first && second && generator);
  EXPECT_NE(first, second);
  BufferProc_Delete(first);
  BufferProc_Delete(second);
  DitherMaskGenerator_Delete(generator);
  BufferProc_Delete(nullptr);
  DitherMaskGenerator_Delete(nullptr);
}

}  // namespace
