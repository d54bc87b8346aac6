#include "platform/simulated/code_pages.h"

#include <climits>

#include "code_page_tables.h"
#include "platform/kernel.h"

namespace platform::simulated {
namespace {

using tables::CodePageTable;
using tables::kUnmapped;

// WideCharToMultiByte's default character.
constexpr char kDefaultChar = '?';
// What an undecodable byte or pair of an ANSI code page becomes.
constexpr char16_t kInvalidByteChar = u'?';
// What an invalid UTF-8 sequence or a lone surrogate becomes.
constexpr char32_t kReplacementChar = 0xFFFD;
// No lead byte of the double-byte code pages takes a trail byte below this
// one, so such a byte starts a character of its own.
constexpr unsigned char kLowestTrailByte = 0x40;
// Longer inputs could overflow the int counts (three bytes per unit at most).
constexpr std::size_t kMaxInputUnits = INT_MAX / 3;

// Counts every unit and writes the ones that fit: the Win32 buffer
// convention (capacity 0 asks the size, too small a buffer gives 0).
template <typename Unit>
class BoundedOutput {
 public:
  BoundedOutput(Unit* out, int capacity) : out_(out), capacity_(capacity) {}

  bool Usable() const { return capacity_ == 0 || (capacity_ > 0 && out_ != nullptr); }

  void Put(Unit unit) {
    if (count_ < capacity_) out_[count_] = unit;
    ++count_;
  }

  int Result() const {
    if (capacity_ == 0) return count_;
    return count_ <= capacity_ ? count_ : 0;
  }

 private:
  Unit* out_;
  int capacity_;
  int count_ = 0;
};

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::uint16_t Lookup(const std::uint16_t* const* rows, std::uint16_t key) {
  const std::uint16_t* row = rows[key >> 8];
  return row != nullptr ? row[key & 0xFF] : kUnmapped;
}

void PutUtf8(BoundedOutput<char>& out, char32_t cp) {
  auto put = [&out](unsigned value) { out.Put(static_cast<char>(value)); };
  if (cp < 0x80) {
    put(cp);
  } else if (cp < 0x800) {
    put(0xC0 | (cp >> 6));
    put(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    put(0xE0 | (cp >> 12));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  } else {
    put(0xF0 | (cp >> 18));
    put(0x80 | ((cp >> 12) & 0x3F));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  }
}

void PutUtf16(BoundedOutput<char16_t>& out, char32_t cp) {
  if (cp < 0x10000) {
    out.Put(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.Put(static_cast<char16_t>(0xD800 | (cp >> 10)));
    out.Put(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
  }
}

int WideToUtf8(std::u16string_view text, BoundedOutput<char>& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      cp = kReplacementChar;
    }
    PutUtf8(out, cp);
  }
  return out.Result();
}

// An invalid sequence becomes one U+FFFD per maximal ill-formed subpart, as
// Unicode recommends and Windows does.
int Utf8ToWide(std::string_view text, BoundedOutput<char16_t>& out) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
      out.Put(lead);
      continue;
    }
    int continuation = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      continuation = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      continuation = 2;
      cp = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;   // overlong
      if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      continuation = 3;
      cp = lead & 0x07;
      if (lead == 0xF0) low = 0x90;   // overlong
      if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
      PutUtf16(out, kReplacementChar);
      continue;
    }
    bool valid = true;
    for (int k = 0; k < continuation; ++k) {
      const auto byte = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
      if (i >= text.size() || byte < low || byte > high) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (byte & 0x3F);
      ++i;
      low = 0x80;
      high = 0xBF;
    }
    PutUtf16(out, valid ? cp : kReplacementChar);
  }
  return out.Result();
}

int WideToTable(const CodePageTable& table, std::u16string_view text, BoundedOutput<char>& out) {
  for (char16_t unit : text) {
    const std::uint16_t bytes = Lookup(table.wideToBytes, unit);
    if (bytes == kUnmapped) {
      out.Put(kDefaultChar);
    } else if (bytes > 0xFF) {
      out.Put(static_cast<char>(bytes >> 8));
      out.Put(static_cast<char>(bytes & 0xFF));
    } else {
      out.Put(static_cast<char>(bytes));
    }
  }
  return out.Result();
}

int TableToWide(const CodePageTable& table, std::string_view text, BoundedOutput<char16_t>& out) {
  auto put = [&out](std::uint16_t unit) {
    out.Put(unit == kUnmapped ? kInvalidByteChar : static_cast<char16_t>(unit));
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i++]);
    if (table.isLeadByte == nullptr || !table.isLeadByte[byte]) {
      put(table.byteToWide[byte]);
      continue;
    }
    if (i >= text.size()) {
      put(kUnmapped);  // a lead byte cut off at the end
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[i]);
    const std::uint16_t unit =
        Lookup(table.pairToWide, static_cast<std::uint16_t>(byte << 8 | trail));
    if (unit == kUnmapped && trail < kLowestTrailByte) {
      put(kUnmapped);  // the lead byte alone; the next byte stands for itself
      continue;
    }
    ++i;
    put(unit);
  }
  return out.Result();
}

}  // namespace

bool IsKnownCodePage(std::uint32_t codePage) {
  return codePage == kCodePageUtf8 || tables::FindCodePageTable(codePage) != nullptr;
}

int WideToMultiByte(std::uint32_t codePage, std::u16string_view text, char* out, int capacity) {
  BoundedOutput<char> output(out, capacity);
  if (!output.Usable() || text.empty() || text.size() > kMaxInputUnits) return 0;
  if (codePage == kCodePageUtf8) return WideToUtf8(text, output);
  const CodePageTable* table = tables::FindCodePageTable(codePage);
  return table != nullptr ? WideToTable(*table, text, output) : 0;
}

int MultiByteToWide(std::uint32_t codePage, std::string_view text, char16_t* out, int capacity) {
  BoundedOutput<char16_t> output(out, capacity);
  if (!output.Usable() || text.empty() || text.size() > kMaxInputUnits) return 0;
  if (codePage == kCodePageUtf8) return Utf8ToWide(text, output);
  const CodePageTable* table = tables::FindCodePageTable(codePage);
  return table != nullptr ? TableToWide(*table, text, output) : 0;
}

std::string ToAnsi(std::uint32_t codePage, std::u16string_view text) {
  std::string result(static_cast<std::size_t>(WideToMultiByte(codePage, text, nullptr, 0)), '\0');
  if (!result.empty()) {
    WideToMultiByte(codePage, text, result.data(), static_cast<int>(result.size()));
  }
  return result;
}

std::u16string FromAnsi(std::uint32_t codePage, std::string_view text) {
  std::u16string result(static_cast<std::size_t>(MultiByteToWide(codePage, text, nullptr, 0)),
                        u'\0');
  if (!result.empty()) {
    MultiByteToWide(codePage, text, result.data(), static_cast<int>(result.size()));
  }
  return result;
}

std::u16string Utf8ToUtf16(std::string_view text) { return FromAnsi(kCodePageUtf8, text); }

std::string Utf16ToUtf8(std::u16string_view text) { return ToAnsi(kCodePageUtf8, text); }

}  // namespace platform::simulated
