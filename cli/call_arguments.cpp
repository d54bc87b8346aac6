#include "cli/call_arguments.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cli/ansi_text.h"
#include "platform/decimal_text.h"

namespace prcfg {
namespace {

constexpr std::string_view kNullArgument = "-";
// "@QUEUE": the queue handle of QUEUE, opened for the call.
constexpr char kCallerQueuePrefix = '@';

long long ParseInteger(std::string_view name, std::string_view text) {
  std::string_view digits = text;
  const bool negative = digits.starts_with('-');
  if (negative) digits.remove_prefix(1);
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : UINT_MAX;
  long long magnitude = -1;
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    digits.remove_prefix(2);
    unsigned long long hex = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), hex, 16);
    if (!digits.empty() && error == std::errc{} && end == digits.data() + digits.size() &&
        hex <= static_cast<unsigned long long>(limit)) {
      magnitude = static_cast<long long>(hex);
    }
  } else if (!digits.empty() && digits.front() >= '0' && digits.front() <= '9') {
    // Decimal digits are read as the module reads decimal text; only the whole
    // argument within 32 bits is taken.
    const platform::DecimalReading number = platform::ReadDecimalNumber(digits);
    if (number.consumed == digits.size() && number.value <= limit) magnitude = number.value;
  }
  if (magnitude < 0) {
    throw UsageError(std::string(name) + ": not a 32-bit integer: '" + std::string(text) + "'");
  }
  return negative ? -magnitude : magnitude;
}

// A buffer's bytes up to its NUL, or all of them when it has none.
std::string_view TextIn(const char* data, std::size_t size) { return {data, strnlen(data, size)}; }

bool Untouched(const char* data, std::size_t size, unsigned char fill) {
  return std::all_of(data, data + size,
                     [fill](char c) { return static_cast<unsigned char>(c) == fill; });
}

// The records of a box file (number, then name, no pointer); null when the
// file cannot be read.
nlohmann::ordered_json BoxFileRecords(const std::string& path, std::uint32_t codePage) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return nullptr;
  nlohmann::ordered_json records = nlohmann::ordered_json::array();
  Vx5BoxRecord box{};
  while (records.size() < kMaxBoxRecords && file.read(box.number, sizeof box.number) &&
         file.read(box.name, sizeof box.name)) {
    nlohmann::ordered_json record = nlohmann::ordered_json::object();
    PutText(record, "number", TextIn(box.number, sizeof box.number), codePage);
    PutText(record, "name", TextIn(box.name, sizeof box.name), codePage);
    records.push_back(std::move(record));
  }
  return records;
}

// What tells a regular file's writes apart: its size and time of last
// write; "" when no regular file is at the path.
std::string FileState(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (!fs::is_regular_file(fs::symlink_status(path, error))) return {};
  const std::uintmax_t size = fs::file_size(path, error);
  if (error) return {};
  const fs::file_time_type written = fs::last_write_time(path, error);
  if (error) return {};
  return std::to_string(size) + "@" + std::to_string(written.time_since_epoch().count());
}

}  // namespace

bool TakesArgument(ParamKind kind) {
  switch (kind) {
    case ParamKind::kOutText:
    case ParamKind::kOutIntegers:
    case ParamKind::kOutBoxList:
    case ParamKind::kOutAllocatedText:
      return false;
    default:
      return true;
  }
}

bool IsReported(ParamKind kind) {
  switch (kind) {
    case ParamKind::kOutText:
    case ParamKind::kInOutText:
    case ParamKind::kOutIntegers:
    case ParamKind::kInOutInteger:
    case ParamKind::kOutBoxList:
    case ParamKind::kOutAllocatedText:
    case ParamKind::kBoxFile:
      return true;
    default:
      return false;
  }
}

CallArguments::CallArguments(std::span<const Param> params, std::span<const std::string> args) {
  slots_.resize(params.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < params.size(); ++i) {
    Slot& slot = slots_[i];
    slot.param = &params[i];
    if (!TakesArgument(params[i].kind)) continue;
    ParseArgument(slot, next < args.size() ? &args[next] : nullptr);
    ++next;
  }
  if (next < args.size()) {
    throw UsageError("too many arguments: '" + args[next] + "' and after have no parameter");
  }
  // Sizes may depend on other arguments, so buffers come after parsing.
  for (Slot& slot : slots_) Allocate(slot);
}

std::optional<std::string> CallArguments::CallerQueue() const {
  for (const Slot& slot : slots_) {
    if (slot.callerQueue) return slot.text;
  }
  return std::nullopt;
}

void CallArguments::SetCallerQueueHandle(void* handle) {
  for (Slot& slot : slots_) {
    if (slot.callerQueue) slot.handle = handle;
  }
}

CallArguments::~CallArguments() {
  // Global memory is the C heap: the caller frees what the export handed over.
  for (Slot& slot : slots_) {
    std::size_t count = 0;
    while (slot.boxes != nullptr && count++ < kMaxBoxRecords) {
      Vx5BoxRecord* next = slot.boxes->next;
      std::free(slot.boxes);
      slot.boxes = next;
    }
    std::free(slot.allocated);
  }
}

void CallArguments::ParseArgument(Slot& slot, const std::string* argument) {
  const Param& param = *slot.param;
  const bool isNull = argument != nullptr && *argument == kNullArgument;
  switch (param.kind) {
    case ParamKind::kInText:
    case ParamKind::kQueueName:
    case ParamKind::kInOutText:
    case ParamKind::kBoxFile:
      if (isNull || (argument == nullptr && param.optional)) {
        slot.null = true;
      } else {
        slot.text = argument != nullptr ? *argument : std::string(param.initial);
      }
      return;
    case ParamKind::kInInteger:
      if (isNull) throw UsageError(std::string(param.name) + ": an integer cannot be null");
      slot.integer = argument != nullptr ? ParseInteger(param.name, *argument) : 0;
      return;
    case ParamKind::kInOutInteger:
      if (isNull || (argument == nullptr && param.optional)) {
        slot.null = true;
      } else if (argument != nullptr) {
        slot.integer = ParseInteger(param.name, *argument);
      } else if (!param.initial.empty()) {
        slot.integer = ParseInteger(param.name, param.initial);
      }
      return;
    case ParamKind::kQueueHandle:
      if (argument != nullptr && argument->size() > 1 && argument->front() == kCallerQueuePrefix) {
        slot.callerQueue = true;
        slot.text = argument->substr(1);
        return;
      }
      if (argument != nullptr && !isNull) {
        throw UsageError(std::string(param.name) +
                         ": a queue handle can only be '@QUEUE' (the queue opened for the "
                         "call), '-' or left off (the export then opens the queue by name)");
      }
      slot.null = true;
      return;
    case ParamKind::kOpaque:
      slot.null = argument == nullptr || isNull;
      if (!slot.null) slot.text = *argument;
      return;
    default:
      return;
  }
}

void CallArguments::Allocate(Slot& slot) {
  const Param& param = *slot.param;
  slot.size = param.size;
  if (param.growsWith >= 0 && static_cast<std::size_t>(param.growsWith) < slots_.size()) {
    const Slot& source = slots_[param.growsWith];
    if (!source.null) slot.size = std::max(slot.size, source.text.size() + 1);
  }
  switch (param.kind) {
    case ParamKind::kOutText:
      slot.buffer.assign(slot.size + kGuardBytes, static_cast<char>(kGuardByte));
      std::fill_n(slot.buffer.begin(), slot.size,
                  static_cast<char>(param.zeroed ? 0 : kUnwrittenByte));
      return;
    case ParamKind::kInOutText:
      if (slot.null) return;
      if (slot.text.size() + 1 > slot.size) {
        throw UsageError(std::string(param.name) + ": the text does not fit the caller's " +
                         std::to_string(slot.size) + " bytes");
      }
      slot.buffer.assign(slot.size + kGuardBytes, static_cast<char>(kGuardByte));
      std::fill_n(slot.buffer.begin(), slot.size, '\0');
      std::copy(slot.text.begin(), slot.text.end(), slot.buffer.begin());
      return;
    case ParamKind::kOutIntegers:
      slot.integers.assign(slot.size + kGuardIntegers, kUnwrittenInteger);
      return;
    case ParamKind::kInOutInteger:
      slot.size = 1;
      slot.integers.assign(1 + kGuardIntegers, kUnwrittenInteger);
      slot.integers[0] = static_cast<int>(slot.integer);
      return;
    case ParamKind::kBoxFile:
      if (!slot.null) slot.boxFileBefore = FileState(slot.text);
      return;
    default:
      return;
  }
}

nlohmann::ordered_json CallArguments::IntegerOutput(const Slot& slot) const {
  if (slot.null) return nullptr;
  const auto begin = slot.integers.begin();
  const auto end = begin + static_cast<std::ptrdiff_t>(slot.size);
  if (slot.param->kind == ParamKind::kInOutInteger) return slot.integers.front();
  if (std::all_of(begin, end, [](int v) { return v == kUnwrittenInteger; })) return nullptr;
  if (slot.size == 1) return slot.integers.front();
  return nlohmann::ordered_json(std::vector<int>(begin, end));
}

nlohmann::ordered_json CallArguments::Outputs(std::uint32_t codePage) const {
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  for (const Slot& slot : slots_) {
    const Param& param = *slot.param;
    if (!IsReported(param.kind)) continue;
    const std::string name(param.name);
    const std::string hexName = name + std::string(kHexSuffix);
    switch (param.kind) {
      case ParamKind::kOutText:
      case ParamKind::kInOutText: {
        const char* data = slot.buffer.data();
        if (slot.null || (param.kind == ParamKind::kOutText && !param.zeroed &&
                          Untouched(data, slot.size, kUnwrittenByte))) {
          out[name] = nullptr;
          out[hexName] = nullptr;
        } else if (param.slotSize > 0) {
          nlohmann::ordered_json texts = nlohmann::ordered_json::array();
          nlohmann::ordered_json hexes = nlohmann::ordered_json::array();
          for (std::size_t at = 0; at + param.slotSize <= slot.size; at += param.slotSize) {
            const std::string_view bytes = TextIn(data + at, param.slotSize);
            texts.push_back(AnsiToUtf8(codePage, bytes));
            hexes.push_back(HexOf(bytes));
          }
          out[name] = std::move(texts);
          out[hexName] = std::move(hexes);
        } else {
          PutText(out, name, TextIn(data, slot.size), codePage);
        }
        break;
      }
      case ParamKind::kOutIntegers:
      case ParamKind::kInOutInteger:
        out[name] = IntegerOutput(slot);
        break;
      case ParamKind::kOutBoxList: {
        if (slot.boxes == nullptr) {
          out[name] = nullptr;
          break;
        }
        nlohmann::ordered_json records = nlohmann::ordered_json::array();
        std::size_t count = 0;
        for (const Vx5BoxRecord* box = slot.boxes; box != nullptr && count < kMaxBoxRecords;
             box = box->next, ++count) {
          nlohmann::ordered_json record = nlohmann::ordered_json::object();
          PutText(record, "number", TextIn(box->number, sizeof box->number), codePage);
          PutText(record, "name", TextIn(box->name, sizeof box->name), codePage);
          records.push_back(std::move(record));
        }
        out[name] = std::move(records);
        break;
      }
      case ParamKind::kBoxFile:
        // Only a file the call wrote is the call's output: a path it left
        // alone (a failed call, a device, a file of the caller's) reads as null.
        {
          const std::string after = slot.null ? std::string() : FileState(slot.text);
          out[name] = after.empty() || after == slot.boxFileBefore
                          ? nullptr
                          : BoxFileRecords(slot.text, codePage);
        }
        break;
      case ParamKind::kOutAllocatedText:
        if (slot.allocated == nullptr) {
          out[name] = nullptr;
          out[hexName] = nullptr;
        } else {
          PutText(out, name, TextIn(slot.allocated, param.size), codePage);
        }
        break;
      default:
        break;
    }
  }
  return out;
}

std::vector<std::string> CallArguments::Overruns() const {
  std::vector<std::string> messages;
  for (const Slot& slot : slots_) {
    const std::string name(slot.param->name);
    if (!slot.buffer.empty()) {
      const auto guard = slot.buffer.begin() + static_cast<std::ptrdiff_t>(slot.size);
      const auto changed = std::find_if(guard, slot.buffer.end(), [](char c) {
        return static_cast<unsigned char>(c) != kGuardByte;
      });
      if (changed != slot.buffer.end()) {
        messages.push_back(name + ": written past its " + std::to_string(slot.size) +
                           " bytes (byte " + std::to_string(changed - slot.buffer.begin()) +
                           " changed)");
      }
    }
    if (!slot.integers.empty()) {
      const auto guard = slot.integers.begin() + static_cast<std::ptrdiff_t>(slot.size);
      if (std::any_of(guard, slot.integers.end(), [](int v) { return v != kUnwrittenInteger; })) {
        messages.push_back(name + ": written past its " + std::to_string(slot.size) + " integers");
      }
    }
  }
  return messages;
}

std::vector<std::string> CallArguments::Unterminated() const {
  std::vector<std::string> names;
  for (const Slot& slot : slots_) {
    const Param& param = *slot.param;
    const bool text = param.kind == ParamKind::kOutText || param.kind == ParamKind::kInOutText;
    if (!text || slot.null || slot.buffer.empty() || param.slotSize > 0) continue;
    const char* data = slot.buffer.data();
    if (param.kind == ParamKind::kOutText && Untouched(data, slot.size, kUnwrittenByte)) continue;
    if (strnlen(data, slot.size) == slot.size) names.emplace_back(param.name);
  }
  return names;
}

}  // namespace prcfg
