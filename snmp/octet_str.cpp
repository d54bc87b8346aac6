#include "snmp/octet_str.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace Snmp_pp {
namespace {

constexpr std::size_t kHexDumpBytesPerLine = 16;
constexpr char kHexDumpIndent[] = "  ";
constexpr char kHexDumpGap[] = "   ";
constexpr char kNonprintableChar = '.';
#ifdef _WIN32
constexpr char kLinefeed[] = "\r\n";
#else
constexpr char kLinefeed[] = "\n";
#endif

bool IsPrintable(unsigned char byte) { return std::isprint(byte) != 0; }

}  // namespace

OctetStr::OctetStr(const char* text) {
  if (text != nullptr) {
    bytes_.assign(text, text + std::strlen(text));
  }
}

OctetStr::OctetStr(const unsigned char* data, unsigned long length) { set_data(data, length); }

void OctetStr::set_data(const unsigned char* data, unsigned long length) {
  if (data == nullptr) {
    bytes_.clear();
    return;
  }
  bytes_.assign(data, data + length);
}

const char* OctetStr::get_printable() const {
  const bool needs_hex = std::any_of(bytes_.begin(), bytes_.end(), [](unsigned char byte) {
    return byte != '\r' && byte != '\n' && !IsPrintable(byte);
  });
  if (needs_hex) {
    return get_printable_hex();
  }
  printable_.assign(bytes_.begin(), bytes_.end());
  return printable_.c_str();
}

const char* OctetStr::get_printable_hex() const {
  printable_.clear();
  for (std::size_t line = 0; line < bytes_.size(); line += kHexDumpBytesPerLine) {
    const std::size_t count = std::min(kHexDumpBytesPerLine, bytes_.size() - line);
    std::string ascii;
    printable_ += kHexDumpIndent;
    for (std::size_t i = 0; i < count; ++i) {
      const unsigned char byte = bytes_[line + i];
      char hex[4];
      std::snprintf(hex, sizeof hex, "%2.2X ", byte);
      printable_ += hex;
      ascii += IsPrintable(byte) ? static_cast<char>(byte) : kNonprintableChar;
    }
    // Pad a short last line so its ASCII column lines up with the others.
    printable_.append((kHexDumpBytesPerLine - count) * 3, ' ');
    printable_ += kHexDumpGap;
    printable_ += ascii;
    printable_ += kLinefeed;
  }
  return printable_.c_str();
}

}  // namespace Snmp_pp
