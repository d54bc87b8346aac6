// Work that waits on the network without depending on other work runs side
// by side: a silent device then costs one time-out window, not one per task.
// The call still runs to its end on the caller's thread: it returns once
// every task has finished.
#pragma once

#include <functional>
#include <span>

namespace device {

// Runs every task, each on a thread of its own (the first on the caller's),
// and waits for all of them. A task that cannot get a thread runs on the
// caller's thread after the others started. What the first task to fail
// threw is thrown again here, once all have finished.
void RunSideBySide(std::span<const std::function<void()>> tasks);

}  // namespace device
