// Vb: one variable binding, an object identifier and its value.
#pragma once

#include <string>

#include "snmp/octet_str.h"
#include "snmp/oid.h"
#include "snmp/smi.h"

namespace Snmp_pp {

class Vb {
 public:
  Vb() = default;
  explicit Vb(const Oid& oid) : oid_(oid) {}

  void set_oid(const Oid& oid) { oid_ = oid; }
  void get_oid(Oid& oid) const { oid = oid_; }
  const Oid& get_oid() const { return oid_; }
  const char* get_printable_oid() const { return oid_.get_printable(); }
  bool valid() const { return oid_.valid(); }

  void set_value(int value) { set_integer(value); }
  void set_value(long value) { set_integer(value); }
  void set_value(const char* text) { set_value(OctetStr(text)); }
  void set_value(const OctetStr& octets);
  void set_value(const Oid& oid);
  void set_null();
  // Values of the other SMI syntaxes, as a transport decodes them.
  void set_unsigned(SmiUINT32 syntax, unsigned long value);
  void set_octets(SmiUINT32 syntax, const unsigned char* data, unsigned long length);
  void set_exception(SmiUINT32 syntax);

  SmiUINT32 get_syntax() const { return syntax_; }

  // Each returns SNMP_CLASS_SUCCESS, or SNMP_CLASS_INVALID leaving the variable as it was when the
  // value has another syntax.
  int get_value(int& value) const;
  int get_value(long& value) const;
  int get_value(unsigned long& value) const;
  int get_value(OctetStr& octets) const;
  int get_value(Oid& oid) const;
  // The raw octets, at most maxlen of them; with add_null_byte a terminating zero is written
  // inside the maxlen bytes (the last octet gives way when the value fills them).
  int get_value(unsigned char* bytes, unsigned long& length, unsigned long maxlen,
                bool add_null_byte = false) const;
  // The raw octets and a terminating zero. As in SNMP++ the caller guarantees room for the value's
  // length plus one byte; prefer the overload above where the size of the answer is not known.
  int get_value(char* text) const;

  // INTEGER as decimal, OBJECT IDENTIFIER dotted, OCTET STRING as text or hex dump; empty when
  // the binding holds no value.
  const char* get_printable_value() const;

 private:
  void set_integer(long value);

  Oid oid_;
  SmiUINT32 syntax_ = sNMP_SYNTAX_NULL;
  long integer_ = 0;  // INTEGER, and the unsigned syntaxes
  OctetStr octets_;   // OCTET STRING, IpAddress, Opaque
  Oid oid_value_;     // OBJECT IDENTIFIER
  mutable std::string printable_;
};

}  // namespace Snmp_pp
