// Calls that only read the level table may run on several threads at once: templates, splits
// and the 4-bit image path give the same bytes concurrently as one after another.
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
