#include "snmp/oid.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>

namespace Snmp_pp {
namespace {

// SNMP limits an identifier to 128 sub-identifiers of 32 bits each.
constexpr std::size_t kMaxSubids = 128;
constexpr unsigned long kMaxSubidValue = std::numeric_limits<std::uint32_t>::max();

}  // namespace

Oid::Oid(const char* dotted) {
  if (dotted == nullptr || *dotted == '\0') {
    return;
  }
  const char* cursor = dotted;
  const char* const end = dotted + std::strlen(dotted);
  if (*cursor == '.') {
    ++cursor;  // a leading dot is accepted, as most tools write absolute identifiers with one
  }
  while (cursor < end) {
    unsigned long value = 0;
    const auto [next, error] = std::from_chars(cursor, end, value);
    if (error != std::errc() || value > kMaxSubidValue || subids_.size() == kMaxSubids ||
        (next < end && *next != '.') || (next + 1 == end && *next == '.')) {
      subids_.clear();
      valid_ = false;
      return;
    }
    subids_.push_back(value);
    cursor = next < end ? next + 1 : end;
  }
}

Oid::Oid(const unsigned long* subids, unsigned long count) {
  if (subids != nullptr) {
    subids_.assign(subids, subids + std::min<unsigned long>(count, kMaxSubids));
  }
}

const char* Oid::get_printable() const {
  printable_.clear();
  for (std::size_t i = 0; i < subids_.size(); ++i) {
    if (i > 0) {
      printable_ += '.';
    }
    printable_ += std::to_string(subids_[i]);
  }
  return printable_.c_str();
}

bool Oid::starts_with(const Oid& prefix) const {
  return prefix.subids_.size() <= subids_.size() &&
         std::equal(prefix.subids_.begin(), prefix.subids_.end(), subids_.begin());
}

void Oid::trim(unsigned long count) {
  subids_.resize(subids_.size() - std::min<std::size_t>(count, subids_.size()));
}

Oid& Oid::operator+=(unsigned long subid) {
  if (subids_.size() < kMaxSubids) {
    subids_.push_back(subid);
  }
  return *this;
}

}  // namespace Snmp_pp
