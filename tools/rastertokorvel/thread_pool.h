// A small pool of the filter's own threads that runs one task per ink of a band and waits for
// all of them (the library starts no thread; the filter may).
#ifndef KORVEL_FILTER_THREAD_POOL_H
#define KORVEL_FILTER_THREAD_POOL_H

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ThreadPool {
 public:
  // `threads` counts the calling thread, which works too: threads - 1 helpers are started.
  explicit ThreadPool(int threads);
  ~ThreadPool();
  ThreadPool(const ThreadPool&) = delete;
  ThreadPool& operator=(const ThreadPool&) = delete;

  // Runs task(0) .. task(count - 1), at most `threads` at a time, and returns when all have
  // finished; rethrows the first exception a task threw.
  void Run(int count, const std::function<void(int)>& task);

 private:
  void HelperLoop();
  // Runs tasks of the current batch until none is left to start.
  void RunTasksLeft();

  std::vector<std::thread> helpers_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable done_;
  const std::function<void(int)>* task_ = nullptr;
  int count_ = 0;
  int next_ = 0;
  int unfinished_ = 0;
  unsigned long batch_ = 0;
  bool stopping_ = false;
  std::exception_ptr failure_;
};

#endif
