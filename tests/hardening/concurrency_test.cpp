// Calls that only read the level table may run on several threads at once: templates, splits
// and the 4-bit image path give the same bytes concurrently as one after another.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <functional>
#include <thread>
#include <vector>

#include "support/raster.h"

namespace {

using test::Bytes;
using test::Stride;

// One unit of work: fills its own buffers and returns their concatenation.
using Job = std::function<Bytes()>;

std::vector<Job> MixedJobs() {
  std::vector<Job> jobs;
  for (int i = 0; i < 12; ++i) {
    const int w = 64 + 37 * i, h = 24 + 5 * i, level = (i * 17) % 101;
    jobs.push_back([=] {
      Bytes out(static_cast<size_t>(Stride(w, 1 << (i % 3))) * h);
      const auto fn = i % 3 == 0   ? KORVEL_GetTempateData_1Bit
                      : i % 3 == 1 ? KORVEL_GetTempateData_2Bit
                                   : KORVEL_GetTempateData_4Bit;
      fn(out.data(), w, h, level);
      return out;
    });
    jobs.push_back([=] {
      Bytes p1(static_cast<size_t>(Stride(w, 2)) * h), p2(p1.size()), p3(p1.size()), p4(p1.size());
      if (i % 3 == 0) KORVEL_GetTempateData_2Bit_1to2(p1.data(), p2.data(), w, h);
      if (i % 3 == 1) KORVEL_GetTempateData_2Bit_1to3(p1.data(), p2.data(), p3.data(), w, h);
      if (i % 3 == 2)
        KORVEL_GetTempateData_2Bit_1to4(p1.data(), p2.data(), p3.data(), p4.data(), w, h);
      Bytes all = p1;
      for (const Bytes* p : {&p2, &p3, &p4}) all.insert(all.end(), p->begin(), p->end());
      return all;
    });
    jobs.push_back([=] {
      Bytes image(static_cast<size_t>(Stride(w, 8)) * h);
      for (size_t k = 0; k < image.size(); ++k) image[k] = static_cast<uint8_t>(k * 13 + i);
      Bytes out(static_cast<size_t>(Stride(w, 4)) * h);
      KORVEL_GetImageTempateData_4Bit(image.data(), out.data(), w, h);
      return out;
    });
  }
  return jobs;
}

TEST(Concurrency, ReadOnlyCallsOnSeveralThreadsMatchSequentialResults) {
  KORVEL_Init(50);
  const std::vector<Job> jobs = MixedJobs();
  std::vector<Bytes> sequential;
  for (const Job& job : jobs) sequential.push_back(job());

  constexpr int kThreads = 4;
  std::vector<std::vector<Bytes>> parallel(kThreads, std::vector<Bytes>(jobs.size()));
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      // Each thread runs every job, starting at a different one, so different calls overlap.
      for (size_t k = 0; k < jobs.size(); ++k) {
        const size_t j = (k + t * 7) % jobs.size();
        parallel[t][j] = jobs[j]();
      }
    });
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t)
    for (size_t j = 0; j < jobs.size(); ++j)
      ASSERT_EQ(parallel[t][j], sequential[j]) << t << " " << j;
}

}  // namespace
