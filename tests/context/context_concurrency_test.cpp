// Eight threads, each screening its own images on its own context at its own quality level,
// tone curve and template type, give the bytes of the same jobs run one after another. The
// suite name puts it in the ThreadSanitizer stage of CI.
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <thread>
#include <vector>

#include "config/data_dir.h"
#include "context/context_support.h"

namespace {

using test::Bytes;
using test::Stride;

struct Job {
  int quality;
  bool ownCurve;
  korvel_image_options options;
  int width, height;
};

// Everything a job makes on a fresh context, concatenated: 1- and 2-bit image calls, a
// template at the curve they leave, a four-plane split, the 4-bit path and a banded stream.
Bytes RunJob(const Job& job, const std::string& folder, uint32_t seed) {
  test::Context owned = test::NewContext(job.quality);
  korvel_context* c = owned.get();
  korvel_set_parameter_folder(c, folder.c_str());
  const int curve[] = {0, 5 + static_cast<int>(seed % 20), 60, 100};
  if (job.ownCurve) korvel_set_tone_curve(c, curve, 4);
  const int w = 2 * job.width, h = 2 * job.height;
  const Bytes image = test::GreyImage(w, h, seed);
  Bytes all;
  const auto append = [&all](const Bytes& b) { all.insert(all.end(), b.begin(), b.end()); };
  for (int round = 0; round < 3; ++round) {
    for (int bits : {1, 2}) {
      Bytes out(Stride(w, bits) * h);
      korvel_screen_image(c, bits, &job.options, image.data(), Stride(w, 8), out.data(),
                          Stride(w, bits), w, h);
      append(out);
    }
    Bytes level(Stride(w, 4) * h), four(Stride(w, 4) * h), planes(4 * Stride(w, 2) * h);
    korvel_template(c, 4, static_cast<int>(seed % 101), level.data(), Stride(w, 4), w, h);
    korvel_screen_image_4bit(c, image.data(), Stride(w, 8), four.data(), Stride(w, 4), w, h);
    const size_t n = Stride(w, 2) * h;
    unsigned char* p[] = {&planes[0], &planes[n], &planes[2 * n], &planes[3 * n]};
    korvel_split(c, 4, p, Stride(w, 2), w, h);
    append(level), append(four), append(planes);

    const korvel_image_options ed = {34, 1 + round, 1, 0, 0};
    korvel_stream* stream = nullptr;
    korvel_stream_begin(c, 1, &ed, w, h, &stream);
    Bytes banded(Stride(w, 1) * h);
    for (int y = 0; y < h; y += 16)
      korvel_stream_rows(stream, &image[Stride(w, 8) * y], Stride(w, 8), &banded[Stride(w, 1) * y],
                         Stride(w, 1), std::min(16, h - y));
    korvel_stream_destroy(stream);
    append(banded);
  }
  return all;
}

TEST(ConcurrencyContexts, EightThreadsMatchTheSameJobsOneAfterAnother) {
  const test::ScopedDataDir files;
  for (int level : {30, 70}) files.Write(level, test::CurveFile());
  const std::vector<Job> jobs = {
      {30, false, {34, 1, 1, 0, 0}, 211, 97},  {70, true, {5, 1, 1, 1, 0}, 160, 120},
      {0, false, {6, 2, 1, 0, 0}, 190, 90},    {-1, false, {11, 1, 1, 0, 1}, 120, 150},
      {70, false, {39, 1, 1, 0, 0}, 150, 100}, {30, true, {42, 1, 2, 0, 0}, 170, 80},
      {70, false, {38, 1, 1, 2, 0}, 130, 140}, {0, true, {41, 1, 1, 0, 0}, 180, 110}};
  std::vector<Bytes> sequential;
  for (size_t j = 0; j < jobs.size(); ++j)
    sequential.push_back(RunJob(jobs[j], files.path(), static_cast<uint32_t>(j)));

  std::vector<Bytes> parallel(jobs.size());
  std::vector<std::thread> threads;
  for (size_t j = 0; j < jobs.size(); ++j)
    threads.emplace_back([&, j] { parallel[j] = RunJob(jobs[j], files.path(), uint32_t(j)); });
  for (std::thread& thread : threads) thread.join();
  for (size_t j = 0; j < jobs.size(); ++j) EXPECT_EQ(parallel[j], sequential[j]) << "job " << j;
}

}  // namespace
