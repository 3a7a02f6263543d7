#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/remove_tree_posix.h"

namespace platform {

namespace {

// Threads that help the caller. Where an unlink waits on the disk (on a file system that frees
// or discards blocks synchronously, each unlink of a file with data waits for the device), several
// unlinks in flight keep the device busy; where unlinks are quick, the caller finishes the batch
// before the helpers wake, and they find nothing left to take.
constexpr unsigned kHelpers = 7;

// The entries of one directory, taken one at a time by whoever is free.
struct Batch {
  int dir_fd = -1;
  const std::vector<std::string>* names = nullptr;
  std::vector<int> errors;
  std::atomic<std::size_t> next{0};

  void Work() {
    for (std::size_t i = next.fetch_add(1); i < names->size(); i = next.fetch_add(1)) {
      errors[i] = unlinkat(dir_fd, (*names)[i].c_str(), 0) == 0 ? 0 : errno;
    }
  }
};

// Made on first use and kept for the life of the program, so that a sweep with thousands of
// matches starts its threads once.
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

  std::vector<int> Run(int dir_fd, const std::vector<std::string>& names) {
    Batch batch;
    batch.dir_fd = dir_fd;
    batch.names = &names;
    batch.errors.assign(names.size(), 0);
    bool shared = names.size() > 1 && !helpers_.empty();
    if (shared) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        batch_ = &batch;
        ++generation_;
      }
      wake_.notify_all();
    }
    batch.Work();
    if (shared) {
      // No helper joins from here on; those inside finish the entry they hold.
      std::unique_lock<std::mutex> lock(mutex_);
      batch_ = nullptr;
      done_.wait(lock, [this] { return busy_ == 0; });
    }
    return batch.errors;
  }

 private:
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

std::vector<int> UnlinkEach(int dir_fd, const std::vector<std::string>& names) {
  static UnlinkPool pool;
  return pool.Run(dir_fd, names);
}

}  // namespace platform
