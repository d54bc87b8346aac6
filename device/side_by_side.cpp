#include "device/side_by_side.h"

#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace device {

void RunSideBySide(std::span<const std::function<void()>> tasks) {
  std::mutex failureMutex;
  std::exception_ptr failure;
  const auto run = [&](const std::function<void()>& task) {
    try {
      task();
    } catch (...) {
      const std::lock_guard lock(failureMutex);
      if (!failure) failure = std::current_exception();
    }
  };

  // A slot left without a thread (none could be had) runs here once the
  // others have started.
  std::vector<std::thread> threads;
  try {
    threads.resize(tasks.size());
  } catch (...) {
    for (const std::function<void()>& task : tasks) run(task);
    if (failure) std::rethrow_exception(failure);
    return;
  }
  for (std::size_t i = 1; i < tasks.size(); ++i) {
    try {
      threads[i] = std::thread(run, std::cref(tasks[i]));
    } catch (...) {
    }
  }
  if (!tasks.empty()) run(tasks[0]);
  for (std::size_t i = 1; i < tasks.size(); ++i) {
    if (threads[i].joinable()) {
      threads[i].join();
    } else {
      run(tasks[i]);
    }
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace device
