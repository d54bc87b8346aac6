// Oid: an OBJECT IDENTIFIER, built from dotted text ("1.3.6.1.2.1.1.2.0").
#pragma once

#include <compare>
#include <string>
#include <vector>

namespace Snmp_pp {

class Oid {
 public:
  Oid() = default;
  Oid(const char* dotted);  // NOLINT(google-explicit-constructor): SNMP++ converts implicitly
  Oid(const unsigned long* subids, unsigned long count);

  // False when the text was not dotted decimal; such an Oid has no sub-identifiers.
  bool valid() const { return valid_; }
  unsigned long len() const { return static_cast<unsigned long>(subids_.size()); }
  unsigned long operator[](unsigned long index) const { return subids_.at(index); }
  const std::vector<unsigned long>& subids() const { return subids_; }

  const char* get_printable() const;
  // True when the first `count` sub-identifiers of both are equal (walk ends test this).
  bool starts_with(const Oid& prefix) const;
  void trim(unsigned long count = 1);
  Oid& operator+=(unsigned long subid);

  friend bool operator==(const Oid& a, const Oid& b) { return a.subids_ == b.subids_; }
  friend std::strong_ordering operator<=>(const Oid& a, const Oid& b) {
    return a.subids_ <=> b.subids_;
  }

 private:
  std::vector<unsigned long> subids_;
  bool valid_ = true;
  mutable std::string printable_;
};

}  // namespace Snmp_pp
