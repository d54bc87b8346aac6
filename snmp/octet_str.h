// OctetStr: an SNMP OCTET STRING, with SNMP++'s printable forms.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Snmp_pp {

class OctetStr {
 public:
  OctetStr() = default;
  OctetStr(const char* text);  // NOLINT(google-explicit-constructor): SNMP++ converts implicitly
  OctetStr(const unsigned char* data, unsigned long length);

  unsigned long len() const { return static_cast<unsigned long>(bytes_.size()); }
  const unsigned char* data() const { return bytes_.data(); }
  bool valid() const { return true; }

  void set_data(const unsigned char* data, unsigned long length);
  // The text when every byte is printable or CR/LF, else the hex dump.
  const char* get_printable() const;
  // 16 bytes a line: indent, "%2.2X " per byte, then the bytes as ASCII ('.' if unprintable).
  const char* get_printable_hex() const;

  friend bool operator==(const OctetStr& a, const OctetStr& b) { return a.bytes_ == b.bytes_; }

 private:
  std::vector<unsigned char> bytes_;
  mutable std::string printable_;  // SNMP++ hands out a pointer that lives as long as the object
};

}  // namespace Snmp_pp
