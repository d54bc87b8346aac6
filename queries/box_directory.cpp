#include "queries/box_directory.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "device/device_address.h"
#include "device/query_frame.h"
#include "device/query_variants.h"
#include "device/table_walk.h"
#include "platform/machine.h"
#include "queries/device_text.h"

namespace queries {
namespace {

using device::QuerySession;
using device::RequestPattern;
using device::RequestResult;
using Snmp_pp::SnmpOperation;

static_assert(sizeof(Vx5BoxRecord) == kBoxRecordSize);
static_assert(offsetof(Vx5BoxRecord, name) == kBoxNumberSize);
static_assert(offsetof(Vx5BoxRecord, next) == kBoxNextOffset);

// The raw name value is read with room for a terminating zero unit.
constexpr unsigned long kRawNameMaxBytes = kBoxNameBufferSize - 1;
constexpr std::size_t kConvertedNameMaxBytes = kBoxNameBufferSize - 1;
constexpr std::size_t kNameUnits = kBoxNameBufferSize / 2;

// Where records come from and go back to: global memory for the chain the
// caller receives, the module's own heap for the box file.
struct RecordHeap {
  Vx5BoxRecord* (*allocate)();
  void (*release)(Vx5BoxRecord*);
};

Vx5BoxRecord* AllocateGlobalRecord() {
  void* block = platform::CurrentMachine().kernel().GlobalAlloc(sizeof(Vx5BoxRecord));
  if (block == nullptr) return nullptr;
  std::memset(block, 0, sizeof(Vx5BoxRecord));
  return static_cast<Vx5BoxRecord*>(block);
}

void ReleaseGlobalRecord(Vx5BoxRecord* record) {
  platform::CurrentMachine().kernel().GlobalFree(record);
}

Vx5BoxRecord* AllocateModuleRecord() { return new (std::nothrow) Vx5BoxRecord{}; }
void ReleaseModuleRecord(Vx5BoxRecord* record) { delete record; }

constexpr RecordHeap kGlobalHeap{AllocateGlobalRecord, ReleaseGlobalRecord};
constexpr RecordHeap kModuleHeap{AllocateModuleRecord, ReleaseModuleRecord};

// A chain of records that is freed, whole, unless it was handed out.
class BoxChain {
 public:
  explicit BoxChain(const RecordHeap& heap) : heap_(heap), first_(heap.allocate()) {}
  ~BoxChain() { FreeFrom(first_); }
  BoxChain(const BoxChain&) = delete;
  BoxChain& operator=(const BoxChain&) = delete;

  Vx5BoxRecord* first() const { return first_; }

  // A new zero-filled record linked after `record`; null when none was left.
  Vx5BoxRecord* Append(Vx5BoxRecord* record) {
    record->next = heap_.allocate();
    return record->next;
  }

  // Frees the first record (the table's first row) and hands out the rest.
  Vx5BoxRecord* ReleaseAfterFirst() {
    Vx5BoxRecord* rest = first_->next;
    heap_.release(first_);
    first_ = nullptr;
    return rest;
  }

 private:
  void FreeFrom(Vx5BoxRecord* record) const {
    while (record != nullptr) {
      Vx5BoxRecord* next = record->next;
      heap_.release(record);
      record = next;
    }
  }

  const RecordHeap& heap_;
  Vx5BoxRecord* first_;
};

// The converted name up to its first zero, cut to what the name field keeps
// without splitting a double-byte character.
bool StoreName(const RequestResult& answer, Vx5BoxRecord& record) {
  std::array<unsigned char, kBoxNameBufferSize> raw{};
  unsigned long rawLength = 0;
  answer.vb.get_value(raw.data(), rawLength, kRawNameMaxBytes);
  std::array<char16_t, kNameUnits> units{};
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(raw[2 * i] | raw[2 * i + 1] << 8);
  }

  std::array<char, kBoxNameBufferSize> converted{};
  unsigned count = 0;
  if (ConvertDeviceText(units.data(), kBoxNameBufferSize, converted.data(), kBoxNameBufferSize,
                        &count) == 0) {
    return false;
  }
  std::string_view name = device::TextIn(converted.data(), kConvertedNameMaxBytes);
  if (name.size() > kBoxNameMaxBytes) {
    // The converters stop before the first character that does not fit, so
    // the same conversion into the field's room ends on a character boundary.
    // A single-byte code page's converter refuses the small room and leaves
    // `fitted` as it was.
    std::array<char, kBoxNameMaxBytes> scratch{};
    unsigned fitted = kBoxNameMaxBytes;
    ConvertDeviceText(units.data(), kBoxNameBufferSize, scratch.data(), kBoxNameMaxBytes, &fitted);
    name = name.substr(0, fitted);
  }
  device::CopyBounded(record.name, kBoxNameSize, name);
  return true;
}

// Both walks over the box table into `chain`: the number of rows, or -1.
int WalkBoxTable(QuerySession& session, BoxChain& chain) {
  Vx5BoxRecord* record = chain.first();
  device::ColumnWalk numbers(kBoxNumberColumnOid);
  for (;;) {
    const RequestResult answer =
        session.Request(RequestPattern::kA, numbers.next(), SnmpOperation::kGetNext);
    if (answer.failed) return kBoxQueryFailed;
    const device::WalkStep step = numbers.Take(answer.vb);
    if (step == device::WalkStep::kFailed) return kBoxQueryFailed;
    if (step == device::WalkStep::kEnd) break;
    device::CopyBounded(record->number, kBoxNumberSize, answer.vb.get_printable_value());
    record = chain.Append(record);
    if (record == nullptr) return kBoxQueryFailed;
  }

  record = chain.first();
  device::ColumnWalk names(kBoxNameColumnOid);
  for (int row = 0; row < numbers.rows(); ++row, record = record->next) {
    const RequestResult answer =
        session.Request(RequestPattern::kA, names.next(), SnmpOperation::kGetNext);
    if (answer.failed) return kBoxQueryFailed;
    const device::WalkStep step = names.Take(answer.vb);
    if (step == device::WalkStep::kFailed) return kBoxQueryFailed;
    if (step == device::WalkStep::kEnd) break;  // later records keep empty names
    if (!StoreName(answer, *record)) return kBoxQueryFailed;
  }
  return numbers.rows();
}

// Writes every record from `record` on; false when a write failed.
bool WriteBoxFile(platform::OutputFile& file, const Vx5BoxRecord* record) {
  for (; record != nullptr; record = record->next) {
    if (!file.Write(record->number, kBoxNumberSize) || !file.Write(record->name, kBoxNameSize)) {
      return false;
    }
  }
  return true;
}

}  // namespace

int GetBoxInfo(const char* queueName, int variant, Vx5BoxRecord** boxes,
               platform::PrinterHandle queue) {
  if (boxes == nullptr) return kBoxQueryFailed;
  const std::string variantText = std::to_string(variant);
  int result = kBoxQueryFailed;
  device::RunQuery(device::kGetBoxInfoQuery, {queueName, variantText.c_str(), queue},
                   [&](QuerySession& session) {
                     BoxChain chain(kGlobalHeap);
                     if (chain.first() == nullptr) return;
                     const int rows = WalkBoxTable(session, chain);
                     if (rows == kBoxQueryFailed) return;
                     *boxes = chain.ReleaseAfterFirst();
                     result = rows - 1;
                   });
  return result;
}

int GetBoxInfo9x(const char* queueName, const char* variant, const char* boxFilePath) {
  int result = kBoxQueryFailed;
  device::RunQuery(device::kGetBoxInfo9xQuery, {queueName, variant, nullptr},
                   [&](QuerySession& session) {
                     BoxChain chain(kModuleHeap);
                     if (chain.first() == nullptr) return;
                     const int rows = WalkBoxTable(session, chain);
                     if (rows == kBoxQueryFailed || boxFilePath == nullptr) return;
                     // A box file cut short would list boxes that are not there: a
                     // failed write or close fails the call, and a file this call
                     // created is then removed again.
                     std::unique_ptr<platform::OutputFile> file =
                         platform::CurrentMachine().kernel().OpenOutputFile(boxFilePath);
                     if (file == nullptr) return;
                     const bool written = WriteBoxFile(*file, chain.first()->next);
                     if (!file->Finish(written)) return;
                     result = rows - 1;
                   });
  return result;
}

}  // namespace queries
