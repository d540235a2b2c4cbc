// Calls that only read the level table may run on several threads at once: templates, splits
// and the 4-bit image path give the same bytes concurrently as one after another; and the dot
// screens' tables, built on first use, are complete for two threads that use them first.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <thread>
#include <vector>

#include "support/raster.h"

namespace {

using test::Bytes;

// Job i: a 2-bit template, a four-plane split or a 4-bit image, its planes concatenated.
Bytes Job(int i) {
  const int w = 64 + 37 * i, h = 24 + 5 * i, level = (i * 17) % 101;
  Bytes a(static_cast<size_t>(test::Stride(w, 4)) * h), b(a.size()), c(a.size()), d(a.size());
  Bytes image = test::RandomScene(w, h, static_cast<uint32_t>(i));
  if (i % 3 == 0) KORVEL_GetTempateData_2Bit(a.data(), w, h, level);
  if (i % 3 == 1) KORVEL_GetTempateData_2Bit_1to4(a.data(), b.data(), c.data(), d.data(), w, h);
  if (i % 3 == 2) KORVEL_GetImageTempateData_4Bit(image.data(), a.data(), w, h);
  for (const Bytes* p : {&b, &c, &d}) a.insert(a.end(), p->begin(), p->end());
  return a;
}

// First in the suite, so that under ThreadSanitizer (which runs the Concurrency suite alone)
// these are the process's first dot-screen calls; ctest runs every test in a process of its own.
TEST(Concurrency, FirstDotScreenCallsOnTwoThreadsScreenCompletely) {
  const auto screen = [](int type) {
    Bytes image = test::RandomScene(64, 32, 1), out(static_cast<size_t>(test::Stride(64, 2)) * 32);
    KORVEL_GetImageTempateData_2Bit(image.data(), out.data(), 64, 32,
                                    static_cast<__QUENTAL_TEMPLATE_TYPE>(type), 1, 1,
                                    static_cast<__QUENTAL_DOT_MODE>(0), false);
    return out;
  };
  std::vector<Bytes> first(3), second(3);
  std::thread a([&] {
    for (int t = 0; t < 3; ++t) first[t] = screen(39 + t);
  });
  std::thread b([&] {
    for (int t = 2; t >= 0; --t) second[t] = screen(39 + t);
  });
  a.join(), b.join();
  for (int t = 0; t < 3; ++t) {
    EXPECT_EQ(first[t], screen(39 + t)) << "type " << 39 + t;
    EXPECT_EQ(second[t], screen(39 + t)) << "type " << 39 + t;
  }
}

TEST(Concurrency, ReadOnlyCallsOnSeveralThreadsMatchSequentialResults) {
  KORVEL_Init(50);
  constexpr int kJobs = 12, kThreads = 4;
  std::vector<Bytes> sequential;
  for (int j = 0; j < kJobs; ++j) sequential.push_back(Job(j));
  std::vector<std::vector<Bytes>> parallel(kThreads, std::vector<Bytes>(kJobs));
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      // Each thread runs every job, starting at a different one, so different calls overlap.
      for (int k = 0; k < kJobs; ++k) parallel[t][(k + t * 7) % kJobs] = Job((k + t * 7) % kJobs);
    });
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(parallel[t], sequential) << "thread " << t;
}

}  // namespace
