#include "thread_pool.h"

ThreadPool::ThreadPool(int threads) {
  for (int i = 1; i < threads; ++i) helpers_.emplace_back([this] { HelperLoop(); });
}

ThreadPool::~ThreadPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  for (std::thread& helper : helpers_) helper.join();
}

void ThreadPool::Run(int count, const std::function<void(int)>& task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    task_ = &task;
    count_ = count;
    next_ = 0;
    unfinished_ = count;
    failure_ = nullptr;
    ++batch_;
  }
  work_.notify_all();
  RunTasksLeft();
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return unfinished_ == 0; });
  task_ = nullptr;
  if (failure_) std::rethrow_exception(failure_);
}

void ThreadPool::HelperLoop() {
  unsigned long seen = 0;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      work_.wait(lock, [&] { return stopping_ || batch_ != seen; });
      if (stopping_) return;
      seen = batch_;
    }
    RunTasksLeft();
  }
}

void ThreadPool::RunTasksLeft() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (task_ && next_ < count_) {
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
}
