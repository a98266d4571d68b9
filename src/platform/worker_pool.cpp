#include "platform/worker_pool.hpp"

#include <system_error>
#include <utility>

namespace k2v {

WorkerPool::WorkerPool(size_t count, size_t threads, std::function<void(size_t)> job)
    : count_(count), job_(std::move(job)) {
  for (size_t k = 0; k < threads && k < count; ++k) {
    try {
      threads_.emplace_back([this] { Help(); });
    } catch (const std::system_error&) {
      break;  // as many as the system gives
    }
  }
}

WorkerPool::~WorkerPool() { Join(); }

void WorkerPool::Help() {
  for (size_t k = next_++; k < count_; k = next_++) job_(k);
}

void WorkerPool::Join() {
  for (std::thread& t : threads_) {
    if (t.joinable()) t.join();
  }
}

}  // namespace k2v
