#include "snmp/vb.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "snmp/snmp_errors.h"

namespace Snmp_pp {
namespace {

constexpr unsigned long kIpv4Length = 4;
constexpr unsigned long kTicksPerSecond = 100;
constexpr unsigned long kSecondsPerDay = 86400;

bool IsUnsignedSyntax(SmiUINT32 syntax) {
  return syntax == sNMP_SYNTAX_CNTR32 || syntax == sNMP_SYNTAX_GAUGE32 ||
         syntax == sNMP_SYNTAX_TIMETICKS || syntax == sNMP_SYNTAX_CNTR64;
}

}  // namespace

void Vb::set_integer(long value) {
  syntax_ = sNMP_SYNTAX_INT32;
  integer_ = value;
}

void Vb::set_value(const OctetStr& octets) {
  set_octets(sNMP_SYNTAX_OCTETS, octets.data(), octets.len());
}

void Vb::set_value(const Oid& oid) {
  syntax_ = sNMP_SYNTAX_OID;
  oid_value_ = oid;
}

void Vb::set_null() { syntax_ = sNMP_SYNTAX_NULL; }

void Vb::set_unsigned(SmiUINT32 syntax, unsigned long value) {
  syntax_ = syntax;
  integer_ = static_cast<long>(value);
}

void Vb::set_octets(SmiUINT32 syntax, const unsigned char* data, unsigned long length) {
  syntax_ = syntax;
  octets_.set_data(data, length);
}

void Vb::set_exception(SmiUINT32 syntax) { syntax_ = syntax; }

int Vb::get_value(int& value) const {
  if (syntax_ != sNMP_SYNTAX_INT32) {
    return SNMP_CLASS_INVALID;
  }
  value = static_cast<int>(integer_);
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(long& value) const {
  if (syntax_ != sNMP_SYNTAX_INT32) {
    return SNMP_CLASS_INVALID;
  }
  value = integer_;
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(unsigned long& value) const {
  if (!IsUnsignedSyntax(syntax_)) {
    return SNMP_CLASS_INVALID;
  }
  value = static_cast<unsigned long>(integer_);
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(OctetStr& octets) const {
  if (syntax_ != sNMP_SYNTAX_OCTETS) {
    return SNMP_CLASS_INVALID;
  }
  octets = octets_;
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(Oid& oid) const {
  if (syntax_ != sNMP_SYNTAX_OID) {
    return SNMP_CLASS_INVALID;
  }
  oid = oid_value_;
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(unsigned char* bytes, unsigned long& length, unsigned long maxlen,
                  bool add_null_byte) const {
  if (bytes == nullptr) {
    length = 0;
    return SNMP_CLASS_INVALID;
  }
  if (syntax_ != sNMP_SYNTAX_OCTETS) {
    if (maxlen > 0) {
      bytes[0] = 0;
    }
    length = 0;
    return SNMP_CLASS_INVALID;
  }
  length = std::min(octets_.len(), maxlen);
  if (length > 0) {
    std::memcpy(bytes, octets_.data(), length);
  }
  if (add_null_byte && maxlen > 0) {
    bytes[length == maxlen ? length - 1 : length] = 0;
  }
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(char* text) const {
  if (text == nullptr) {
    return SNMP_CLASS_INVALID;
  }
  if (syntax_ != sNMP_SYNTAX_OCTETS) {
    text[0] = '\0';
    return SNMP_CLASS_INVALID;
  }
  if (octets_.len() > 0) {
    std::memcpy(text, octets_.data(), octets_.len());
  }
  text[octets_.len()] = '\0';
  return SNMP_CLASS_SUCCESS;
}

const char* Vb::get_printable_value() const {
  switch (syntax_) {
    case sNMP_SYNTAX_INT32:
      printable_ = std::to_string(integer_);
      break;
    case sNMP_SYNTAX_CNTR32:
    case sNMP_SYNTAX_GAUGE32:
    case sNMP_SYNTAX_CNTR64:
      printable_ = std::to_string(static_cast<unsigned long>(integer_));
      break;
    case sNMP_SYNTAX_TIMETICKS: {
      const unsigned long ticks = static_cast<unsigned long>(integer_);
      const unsigned long seconds = ticks / kTicksPerSecond;
      char text[64];
      std::snprintf(text, sizeof text, "%lu days, %2.2lu:%2.2lu:%2.2lu.%2.2lu",
                    seconds / kSecondsPerDay, seconds % kSecondsPerDay / 3600, seconds % 3600 / 60,
                    seconds % 60, ticks % kTicksPerSecond);
      printable_ = text;
      break;
    }
    case sNMP_SYNTAX_OCTETS:
    case sNMP_SYNTAX_OPAQUE:
      return octets_.get_printable();
    case sNMP_SYNTAX_IPADDR:
      if (octets_.len() == kIpv4Length) {
        const unsigned char* b = octets_.data();
        printable_ = std::to_string(b[0]) + "." + std::to_string(b[1]) + "." +
                     std::to_string(b[2]) + "." + std::to_string(b[3]);
      } else {
        printable_.clear();
      }
      break;
    case sNMP_SYNTAX_OID:
      return oid_value_.get_printable();
    default:
      printable_.clear();
      break;
  }
  return printable_.c_str();
}

}  // namespace Snmp_pp
