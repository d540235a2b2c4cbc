#include "core/pattern_random.h"

#include <cstdlib>
#include <ctime>

namespace {

constexpr int kShortLag = 3;
constexpr int kDiscarded = 310;  // draws thrown away after seeding, as glibc does

// One step of the minimal standard generator, 16807 x mod (2^31 - 1), by Schrage's method.
int32_t NextSeedWord(int32_t word) {
  const int32_t hi = word / 127773;
  const int32_t lo = word % 127773;
  int32_t next = 16807 * lo - 2836 * hi;
  if (next < 0) next += 2147483647;
  return next;
}

}  // namespace

PatternRandom::PatternRandom(Source source) : source_(source) {
  if (source_ == Source::kOwn) Seed(1);  // the C library's generator starts as if seeded with 1
}

void PatternRandom::Seed(unsigned seed) {
  if (source_ == Source::kCLibrary) {
    std::srand(seed);
    return;
  }
  int32_t word = static_cast<int32_t>(seed == 0 ? 1 : seed);
  ring_[0] = static_cast<uint32_t>(word);
  for (int i = 1; i < kLag; ++i) {
    word = NextSeedWord(word);
    ring_[i] = static_cast<uint32_t>(word);
  }
  front_ = kShortLag;
  for (int i = 0; i < kDiscarded; ++i) Next();
}

int PatternRandom::Next() {
  if (source_ == Source::kCLibrary) return std::rand();
  // ring_[front_] is r[i - 31] and the entry three places back r[i - 3]; the sum replaces the
  // older one.
  const int back = (front_ + kLag - kShortLag) % kLag;
  const uint32_t value = ring_[front_] + ring_[back];
  ring_[front_] = value;
  front_ = (front_ + 1) % kLag;
  return static_cast<int>(value >> 1);
}

void PatternRandom::SeedFromClock() {
  if (source_ == Source::kCLibrary) std::srand(static_cast<unsigned>(std::time(nullptr)));
}
