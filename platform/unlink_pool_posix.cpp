#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/remove_tree_posix.h"

namespace platform {

namespace {

// Threads that help the caller. Where an unlink waits on the device (a file system that frees or
// discards blocks synchronously makes each unlink of a file with data wait for it), many unlinks
// in flight keep the device busy: here, 32 in flight served about twice as many as one.
constexpr unsigned kHelpers = 31;

// The entries of one directory, taken one at a time by whoever is free.
struct Batch {
  int dir_fd = -1;
  const std::vector<std::string>* names = nullptr;
  std::vector<int> errors;
  std::atomic<std::size_t> next{0};

  // The next index to take; one at or past the end when none is left.
  std::size_t Take() { return next.fetch_add(1); }

  void Unlink(std::size_t i) {
    errors[i] = unlinkat(dir_fd, (*names)[i].c_str(), 0) == 0 ? 0 : errno;
  }

  void Work() {
    for (std::size_t i = Take(); i < names->size(); i = Take()) Unlink(i);
  }
};

// Made on first use and kept for the life of the program, so that a sweep with thousands of
// matches starts its threads once. Helpers are woken only while unlinks are slow: where they are
// quick, threads would only contend for the directory, and the caller does the batch alone.
class UnlinkPool {
 public:
  UnlinkPool() {
    try {
      for (unsigned i = 0; i < kHelpers; ++i) helpers_.emplace_back([this] { Help(); });
    } catch (const std::system_error&) {
      // No more threads to be had: the caller and those started do the work.
    }
  }

  ~UnlinkPool() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_) helper.join();
  }

  UnlinkPool(const UnlinkPool&) = delete;
  UnlinkPool& operator=(const UnlinkPool&) = delete;

  std::vector<int> Run(int dir_fd, const std::vector<std::string>& names,
                       std::chrono::nanoseconds slow) {
    std::lock_guard<std::mutex> one_caller(caller_);
    Batch batch;
    batch.dir_fd = dir_fd;
    batch.names = &names;
    batch.errors.assign(names.size(), 0);
    bool shared = false;
    if (slow_ && !names.empty()) shared = Share(batch, names.size() - 1);
    // The quickest of the caller's unlinks that succeeded: a device that waits on every unlink
    // keeps even the quickest slow.
    auto quickest = std::chrono::steady_clock::duration::max();
    for (std::size_t i = batch.Take(); i < names.size(); i = batch.Take()) {
      auto start = std::chrono::steady_clock::now();
      batch.Unlink(i);
      auto took = std::chrono::steady_clock::now() - start;
      if (batch.errors[i] != 0) continue;
      quickest = std::min(quickest, took);
      if (!shared && took >= slow) shared = Share(batch, names.size() - i - 1);
    }
    if (quickest != std::chrono::steady_clock::duration::max()) slow_ = quickest >= slow;
    if (shared) {
      // No helper joins from here on; those inside finish the entry they hold.
      std::unique_lock<std::mutex> lock(mutex_);
      batch_ = nullptr;
      done_.wait(lock, [this] { return busy_ == 0; });
    }
    return batch.errors;
  }

 private:
  // Offers the batch to as many helpers as there are entries left. Returns whether it did.
  bool Share(Batch& batch, std::size_t left) {
    std::size_t wanted = std::min<std::size_t>(helpers_.size(), left);
    if (wanted == 0) return false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      batch_ = &batch;
      ++generation_;
    }
    for (std::size_t i = 0; i < wanted; ++i) wake_.notify_one();
    return true;
  }

  void Help() {
    std::uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stop_ || (batch_ != nullptr && generation_ != seen); });
      if (stop_) return;
      seen = generation_;
      Batch* batch = batch_;
      ++busy_;
      lock.unlock();
      batch->Work();
      lock.lock();
      if (--busy_ == 0) done_.notify_one();
    }
  }

  std::mutex caller_;  // one batch at a time
  bool slow_ = false;  // the last batch's unlinks were slow, so the next is shared from the start
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  Batch* batch_ = nullptr;  // the batch helpers may join, while its caller works on it
  std::uint64_t generation_ = 0;
  unsigned busy_ = 0;  // helpers working on a batch
  bool stop_ = false;
  std::vector<std::thread> helpers_;
};

}  // namespace

std::vector<int> UnlinkEach(int dir_fd, const std::vector<std::string>& names,
                            std::chrono::nanoseconds slow) {
  static UnlinkPool pool;
  return pool.Run(dir_fd, names, slow);
}

}  // namespace platform
