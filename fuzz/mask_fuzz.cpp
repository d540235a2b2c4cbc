// Stored masks from arbitrary bytes, then screening calls with arbitrary arguments.
//
// Input: the mask bytes come first, the control values (whether to repair the header, the
// number of calls and each call's arguments) are taken from the end. Arbitrary bytes almost
// never form a valid mask, so when "repair" is set the header is rewritten to match the length
// (P x H x W chosen from the control values, M forced positive) and the screen gets exercised.
// Output buffers stay small: width up to 300, height up to 40, stride up to 16 bytes over need.
//
// Checked on every call: a refused load or screen changes nothing; a screen writes exactly the
// output buffer, every pixel's code a dot or none, and zero bits past the last pixel of each
// row. (A white pixel may be a dot: under a negative raw threshold it is.)
#include <fuzzer/FuzzedDataProvider.h>
#include <korvel/korvel.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void PutWord(std::vector<uint8_t>& bytes, size_t at, uint32_t word) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(word >> (8 * i));
}

struct RepairChoice {
  uint32_t planes;
  uint32_t height;
};

// Rewrite the header so that it matches the length (the length trimmed to whole thresholds).
void RepairHeader(std::vector<uint8_t>& mask, RepairChoice choice, IBufferProc& proc) {
  if (mask.size() < 24) mask.resize(24, 0);
  mask.resize(20 + (mask.size() - 20) / 4 * 4);
  const uint32_t count = static_cast<uint32_t>((mask.size() - 20) / 4);
  proc.Decode(mask.data(), 20);
  const uint32_t planes = count % choice.planes == 0 ? choice.planes : 1;
  const uint32_t height = (count / planes) % choice.height == 0 ? choice.height : 1;
  const uint32_t width = count / planes / height;
  uint32_t maxThreshold = 0;
  std::memcpy(&maxThreshold, mask.data() + 16, 4);
  PutWord(mask, 4, planes);
  PutWord(mask, 8, height);
  PutWord(mask, 12, width);
  PutWord(mask, 16, (maxThreshold & 0x7FFFFFFFu) | 1u);
  proc.Encode(mask.data(), 20);
}

struct ScreenCall {
  int width, height, plane, xOffset, yOffset, xStep, yStep, bits, dstStride;
  int depth, need;  // bits a pixel takes in the output, bytes a row of them takes
  bool nullSource, nullOutput;
  uint8_t shade;
};

ScreenCall ReadCall(FuzzedDataProvider& control) {
  ScreenCall c;
  c.width = control.ConsumeIntegralInRange<int>(-2, 300);
  c.height = control.ConsumeIntegralInRange<int>(-2, 40);
  c.plane = control.ConsumeIntegralInRange<int>(-1, 4);
  c.xOffset = control.ConsumeIntegral<int>();
  c.yOffset = control.ConsumeIntegral<int>();
  c.xStep = control.ConsumeBool() ? control.ConsumeIntegral<int>()
                                  : control.ConsumeIntegralInRange<int>(-1, 9);
  c.yStep = control.ConsumeBool() ? control.ConsumeIntegral<int>()
                                  : control.ConsumeIntegralInRange<int>(-1, 9);
  c.bits = control.ConsumeIntegralInRange<int>(0, 3);
  c.depth = c.bits == 1 ? 1 : 2;
  c.need = c.width > 0 ? (c.width * c.depth + 7) / 8 : 0;
  c.dstStride = c.need + control.ConsumeIntegralInRange<int>(-2, 16);
  c.nullSource = control.ConsumeIntegralInRange<int>(0, 63) == 0;
  c.nullOutput = control.ConsumeIntegralInRange<int>(0, 63) == 0;
  c.shade = control.ConsumeIntegral<uint8_t>();
  return c;
}

// Runs one call and checks its outcome; returns whether the call was accepted.
bool Screen(IDitherMaskGenerator& generator, const ScreenCall& c) {
  const size_t pixels = c.width > 0 && c.height > 0 ? static_cast<size_t>(c.width) * c.height : 0;
  std::vector<uint8_t> source(pixels + 1);
  for (size_t i = 0; i < pixels; ++i) source[i] = static_cast<uint8_t>(i * c.shade + (i >> 3));
  const size_t outBytes =
      c.dstStride > 0 && c.height > 0 ? static_cast<size_t>(c.dstStride) * c.height : 0;
  std::vector<uint8_t> output(outBytes + 1, 0xA5);

  const bool done = generator.Dither(
      c.nullSource ? nullptr : source.data(), c.nullOutput ? nullptr : output.data(), c.dstStride,
      c.width, c.height, c.plane, c.xOffset, c.yOffset, c.xStep, c.yStep, c.bits);
  Check(output[outBytes] == 0xA5);
  if (!done) {
    for (size_t i = 0; i < outBytes; ++i) Check(output[i] == 0xA5);
    return false;
  }
  for (int y = 0; y < c.height; ++y) {
    const uint8_t* row = output.data() + static_cast<size_t>(y) * c.dstStride;
    for (int x = 0; x < c.width; ++x) {
      const int value = c.depth == 1 ? (row[x >> 3] >> (7 - (x & 7))) & 1
                                     : (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
      Check(value == 0 || value == (c.depth == 1 ? 1 : 3));
    }
    const int usedBits = c.width * c.depth;
    if (usedBits % 8 != 0) Check((row[usedBits / 8] & (0xFF >> (usedBits % 8))) == 0);
    for (int b = c.need; b < c.dstStride; ++b) Check(row[b] == 0);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider control(data, size);
  const bool repair = control.ConsumeBool();
  const bool loadTwice = control.ConsumeBool();
  RepairChoice choice;
  choice.planes = control.ConsumeIntegralInRange<uint32_t>(1, 4);
  choice.height = control.ConsumeIntegralInRange<uint32_t>(1, 16);
  std::vector<ScreenCall> calls(control.ConsumeIntegralInRange<int>(0, 4));
  for (ScreenCall& c : calls) c = ReadCall(control);
  std::vector<uint8_t> mask = control.ConsumeRemainingBytes<uint8_t>();

  IBufferProc* proc = BufferProc_Create();
  IDitherMaskGenerator* generator = DitherMaskGenerator_Create();
  if (repair) RepairHeader(mask, choice, *proc);
  const std::vector<uint8_t> before = mask;
  const unsigned char* bytes = mask.empty() ? nullptr : mask.data();
  if (loadTwice) generator->LoadMask(bytes, static_cast<int>(mask.size()));
  generator->LoadMask(bytes, static_cast<int>(mask.size()));
  Check(mask == before);

  for (const ScreenCall& c : calls) Screen(*generator, c);
  generator->ReleaseMask();
  for (const ScreenCall& c : calls) Check(!Screen(*generator, c));

  DitherMaskGenerator_Delete(generator);
  BufferProc_Delete(proc);
  return 0;
}
