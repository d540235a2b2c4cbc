// The pseudo-random numbers that the generated test patterns draw (bar heights, line jitter).
// The process-wide state draws from the C library's rand(), as hosts have always seen it; every
// other state owns a generator that yields the same sequence as glibc's rand() after srand()
// of the same seed, without touching the C library's generator.
#ifndef KORVEL_CORE_PATTERN_RANDOM_H
#define KORVEL_CORE_PATTERN_RANDOM_H

#include <cstdint>

class PatternRandom {
 public:
  enum class Source { kOwn, kCLibrary };

  explicit PatternRandom(Source source = Source::kOwn);

  // Restart the sequence, like srand(seed).
  void Seed(unsigned seed);
  // The next number, 0..2^31 - 1, like rand().
  int Next();
  // The template generators seed the C library's generator from the clock (they draw nothing);
  // an own generator is left as it is, since its sequence is restarted by every image call.
  void SeedFromClock();

 private:
  static constexpr int kLag = 31;  // glibc's additive feedback generator, r[i] = r[i-3] + r[i-31]
  Source source_;
  uint32_t ring_[kLag] = {};
  int front_ = 0;
};

#endif
