// Nothing may cross from the module into the driver: each entry point runs
// its body here and answers its documented failure value should anything be
// thrown (exhausted memory, a failing framework call).
#pragma once

namespace exports {

template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

}  // namespace exports
