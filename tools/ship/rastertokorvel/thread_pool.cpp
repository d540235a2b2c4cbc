#include "thread_pool.h"

ThreadPool::ThreadPool(int threads) {
  for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { WorkerLoop(); });
}

ThreadPool::~ThreadPool() {
  Finish();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void ThreadPool::Start(int count, const std::function<void(int)>& task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    task_ = &task;
    count_ = count;
    next_ = 0;
    unfinished_ = count;
    failure_ = nullptr;
  }
  work_.notify_all();
}

std::exception_ptr ThreadPool::Finish() noexcept {
  std::unique_lock<std::mutex> lock(mutex_);
  unfinished_ -= count_ - next_;  // tasks no thread has taken are dropped
  next_ = count_;
  done_.wait(lock, [this] { return unfinished_ == 0; });
  task_ = nullptr;
  std::exception_ptr failure = failure_;
  failure_ = nullptr;
  return failure;
}

void ThreadPool::Wait() {
  {
    // The caller, done with its own work, screens the tasks no thread has taken yet.
    std::unique_lock<std::mutex> lock(mutex_);
    while (task_ && next_ < count_) RunOneTask(lock);
  }
  if (const std::exception_ptr failure = Finish()) std::rethrow_exception(failure);
}

void ThreadPool::WorkerLoop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return stopping_ || (task_ && next_ < count_); });
    if (stopping_) return;
    RunOneTask(lock);
  }
}

void ThreadPool::RunOneTask(std::unique_lock<std::mutex>& lock) {
  const int index = next_++;
  const std::function<void(int)>& task = *task_;
  lock.unlock();
  std::exception_ptr failure;
  try {
    task(index);
  } catch (...) {
    failure = std::current_exception();
  }
  lock.lock();
  if (failure && !failure_) failure_ = failure;
  if (--unfinished_ == 0) done_.notify_all();
}
