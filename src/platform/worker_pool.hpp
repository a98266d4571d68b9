#pragma once
// Threads that share out the jobs 0 to count - 1: each job runs once, on
// whichever thread takes it next, in the order of their numbers.

#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace k2v {

class WorkerPool {
 public:
  // Starts up to threads threads (as many as the system gives) that take
  // jobs until none is left.
  WorkerPool(size_t count, size_t threads, std::function<void(size_t)> job);
  // Waits for the threads.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // How many threads started.
  size_t Threads() const { return threads_.size(); }
  // Takes jobs on the calling thread too, until none is left.
  void Help();
  // Waits until the threads have finished the jobs they took.
  void Join();

 private:
  size_t count_;
  std::function<void(size_t)> job_;
  std::atomic<size_t> next_{0};
  std::vector<std::thread> threads_;
};

}  // namespace k2v
