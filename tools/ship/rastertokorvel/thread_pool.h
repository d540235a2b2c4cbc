// A small pool of the filter's own threads (the library starts no thread; the filter may). The
// caller starts one task per ink of a band, does its own work (reading the next band, writing
// the last one) while the pool's threads run them, then runs the tasks they have not taken and
// waits for the rest. A pool of no threads leaves every task to the caller.
#ifndef KORVEL_FILTER_THREAD_POOL_H
#define KORVEL_FILTER_THREAD_POOL_H

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class ThreadPool {
 public:
  explicit ThreadPool(int threads);
  ~ThreadPool();
  ThreadPool(const ThreadPool&) = delete;
  ThreadPool& operator=(const ThreadPool&) = delete;

  // Starts task(0) .. task(count - 1) on the pool's threads, at most `threads` at a time; the
  // task must stay alive until Wait or Finish returns.
  void Start(int count, const std::function<void(int)>& task);
  // Runs the started tasks no thread has taken yet, then waits until all have finished;
  // rethrows the first exception one threw.
  void Wait();
  // Drops the tasks no thread has taken, waits for the others, and returns the first exception
  // one threw instead of throwing it.
  std::exception_ptr Finish() noexcept;

 private:
  void WorkerLoop();
  // Runs the next task with the lock released; the lock is held on entry and on return.
  void RunOneTask(std::unique_lock<std::mutex>& lock);

  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable done_;
  const std::function<void(int)>* task_ = nullptr;
  int count_ = 0;
  int next_ = 0;
  int unfinished_ = 0;
  bool stopping_ = false;
  std::exception_ptr failure_;
};

// Finishes the tasks of a pool when it leaves scope, so that no task outlives the band it
// works on when the caller's own work throws.
class PoolTasks {
 public:
  PoolTasks(ThreadPool& pool, int count, std::function<void(int)> task)
      : pool_(pool), task_(std::move(task)) {
    pool_.Start(count, task_);
  }
  ~PoolTasks() {
    if (!waited_) pool_.Finish();
  }
  PoolTasks(const PoolTasks&) = delete;
  PoolTasks& operator=(const PoolTasks&) = delete;
  void Wait() {
    waited_ = true;
    pool_.Wait();
  }

 private:
  ThreadPool& pool_;
  const std::function<void(int)> task_;  // kept here while the pool runs it
  bool waited_ = false;
};

#endif
