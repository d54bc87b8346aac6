// The arguments of one export call: parsed from the command line per
// parameter kind, held in storage that outlives the call, and read back
// afterwards. Buffers the export writes carry a guard zone past the size the
// caller must provide, so a write beyond it is caught.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "exports/vx5prcfg.h"

namespace prcfg {

enum class ParamKind {
  kInText,            // const char*
  kQueueName,         // const char*: a printer queue name (the tour fills it in)
  kInInteger,         // int or unsigned int
  kOutText,           // char*: written only; `size` bytes (in `slotSize` slots)
  kInOutText,         // char*: `size` bytes starting with the argument or `initial`
  kOutIntegers,       // int*: `size` integers written only
  kInOutInteger,      // int*: starts with the argument or `initial`
  kQueueHandle,       // void*: the spooler handle: null, or "@QUEUE" opened by the CLI
  kOpaque,            // void*: never read by the export
  kOutBoxList,        // Vx5BoxRecord**: a chain the caller frees
  kOutAllocatedText,  // char**: a `size`-byte block the caller frees
  kBoxFile,           // const char*: path of a box file the export writes, read back
};

struct Param {
  std::string_view name;
  ParamKind kind = ParamKind::kInText;
  std::size_t size = 0;           // bytes, or integers for kOutIntegers
  std::string_view initial = {};  // used when the argument is left off
  bool optional = false;          // left off: a null pointer
  bool zeroed = false;            // the caller must hand the buffer zeroed
  std::size_t slotSize = 0;       // a block of fixed-size texts
  int growsWith = -1;             // index of an in text whose length + 1 raises `size`
  std::string_view example = {};  // what the tour passes
};

// Whether the command line supplies this parameter.
bool TakesArgument(ParamKind kind);
// Whether the export writes it (and the output reports it).
bool IsReported(ParamKind kind);

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::size_t kGuardBytes = 64;
inline constexpr unsigned char kUnwrittenByte = 0xCD;
inline constexpr unsigned char kGuardByte = 0xFD;
inline constexpr int kUnwrittenInteger = static_cast<int>(0xCDCDCDCDu);
inline constexpr std::size_t kGuardIntegers = 4;
// A chain longer than this is taken as a corrupt list.
inline constexpr std::size_t kMaxBoxRecords = 100000;

class CallArguments {
 public:
  // Throws UsageError for a bad or surplus argument.
  CallArguments(std::span<const Param> params, std::span<const std::string> args);
  ~CallArguments();
  CallArguments(const CallArguments&) = delete;
  CallArguments& operator=(const CallArguments&) = delete;

  // The value handed to the export for parameter `index`, as its C type.
  template <typename T>
  T Pass(std::size_t index);

  // What the export wrote: `{name: value, name_hex: bytes}` per reported
  // parameter, texts converted from `codePage` to UTF-8.
  nlohmann::ordered_json Outputs(std::uint32_t codePage) const;

  // One message per parameter the export wrote past its size.
  std::vector<std::string> Overruns() const;

  // Out texts that hold no NUL within their size (slot texts excluded).
  std::vector<std::string> Unterminated() const;

  // The queue an "@QUEUE" argument names, which the caller opens and hands
  // back with SetCallerQueueHandle before the call; none without one.
  std::optional<std::string> CallerQueue() const;
  void SetCallerQueueHandle(void* handle);

 private:
  struct Slot {
    const Param* param = nullptr;
    bool null = false;
    std::string text;           // in texts and opaque arguments
    long long integer = 0;      // in integers
    std::size_t size = 0;       // bytes or integers the caller provides
    std::vector<char> buffer;   // size + guard
    std::vector<int> integers;  // size + guard
    Vx5BoxRecord* boxes = nullptr;
    char* allocated = nullptr;
    std::string boxFileBefore;  // a box file's state before the call ("" when absent)
    bool callerQueue = false;   // `text` names a queue the caller opened
    void* handle = nullptr;     // its handle
  };

  void ParseArgument(Slot& slot, const std::string* argument);
  void Allocate(Slot& slot);
  nlohmann::ordered_json IntegerOutput(const Slot& slot) const;

  std::vector<Slot> slots_;
};

template <typename T>
T CallArguments::Pass(std::size_t index) {
  Slot& slot = slots_.at(index);
  if constexpr (std::is_same_v<T, const char*>) {
    return slot.null ? nullptr : slot.text.c_str();
  } else if constexpr (std::is_same_v<T, int> || std::is_same_v<T, unsigned int>) {
    return static_cast<T>(slot.integer);
  } else if constexpr (std::is_same_v<T, char*>) {
    return slot.null ? nullptr : slot.buffer.data();
  } else if constexpr (std::is_same_v<T, int*>) {
    return slot.null ? nullptr : slot.integers.data();
  } else if constexpr (std::is_same_v<T, unsigned int*>) {
    // int and unsigned int may alias each other.
    return slot.null ? nullptr : reinterpret_cast<unsigned int*>(slot.integers.data());
  } else if constexpr (std::is_same_v<T, void*>) {
    if (slot.callerQueue) return slot.handle;
    return slot.null ? nullptr : static_cast<void*>(slot.text.data());
  } else if constexpr (std::is_same_v<T, Vx5BoxRecord**>) {
    return &slot.boxes;
  } else if constexpr (std::is_same_v<T, char**>) {
    return &slot.allocated;
  } else {
    static_assert(!sizeof(T), "no conversion for this parameter type");
  }
}

}  // namespace prcfg
