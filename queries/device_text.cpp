#include "queries/device_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/machine.h"
#include "queries/device_text_tables.h"

namespace queries {
namespace {

constexpr char16_t kFirstNonAscii = 0x80;
constexpr char16_t kFirstIso8859Looked = 0xA0;
constexpr char16_t kFirstIso8859Beyond = 0x3000;
constexpr char16_t kHalfwidthKatakanaFirst = 0xFF60;
constexpr char16_t kHalfwidthKatakanaLast = 0xFF9F;
constexpr std::uint8_t kHalfwidthKatakanaShift = 0x40;
// What a unit in neither Japanese table becomes before the transformation.
constexpr std::uint16_t kJisSubstitute = 0xA2AE;
constexpr unsigned kBytesPerUnit = 2;

std::uint16_t PagedEntry(const std::uint16_t* const* pages, char16_t unit) {
  const std::uint16_t* page = pages[unit >> 8];
  return page != nullptr ? page[unit & 0xFF] : 0;
}

// Device names are mostly ASCII, which every converter copies unit for byte:
// the leading run of units below U+0080 is copied sixteen (then eight) at a
// time, up to `room` bytes. Returns how many units it took.
unsigned CopyAsciiRun(const char16_t* input, unsigned units, char* output, unsigned room) {
  const unsigned limit = units < room ? units : room;
  unsigned taken = 0;
#if defined(__SSE2__)
  constexpr unsigned kWideBlock = 16;
  const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  while (taken + kWideBlock <= limit) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + taken));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + taken + 8));
    const __m128i any = _mm_and_si128(_mm_or_si128(low, high), nonAscii);
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(any, _mm_setzero_si128())) != 0xFFFF) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(output + taken), _mm_packus_epi16(low, high));
    taken += kWideBlock;
  }
#endif
  constexpr unsigned kBlock = 8;
  while (taken + kBlock <= limit) {
    char16_t any = 0;
    for (unsigned k = 0; k < kBlock; ++k) any |= input[taken + k];
    if (any >= kFirstNonAscii) break;
    for (unsigned k = 0; k < kBlock; ++k) output[taken + k] = static_cast<char>(input[taken + k]);
    taken += kBlock;
  }
  while (taken < limit && input[taken] < kFirstNonAscii) {
    output[taken] = static_cast<char>(input[taken]);
    ++taken;
  }
  return taken;
}

// Appends `length` bytes when they fit; false leaves the output as it was.
bool Put(char* output, unsigned capacity, unsigned& count, std::uint8_t first, std::uint8_t second,
         unsigned length) {
  if (count + length > capacity) return false;
  output[count] = static_cast<char>(first);
  if (length == kBytesPerUnit) output[count + 1] = static_cast<char>(second);
  count += length;
  return true;
}

int ConvertFlat(const std::uint16_t* table, unsigned inputBytes, const char16_t* input,
                unsigned capacity, unsigned* written, char* output) {
  if (written == nullptr) return 0;
  // Counted locally: the output bytes may alias the caller's count.
  unsigned count = 0;
  const unsigned units = inputBytes / kBytesPerUnit;
  for (unsigned i = 0; i < units; ++i) {
    const unsigned run = CopyAsciiRun(input + i, units - i, output + count, capacity - count);
    i += run;
    count += run;
    if (i == units) break;
    const char16_t unit = input[i];
    const bool fits =
        unit < kFirstNonAscii
            ? Put(output, capacity, count, static_cast<std::uint8_t>(unit), 0, 1)
            : Put(output, capacity, count, static_cast<std::uint8_t>(table[unit] >> 8),
                  static_cast<std::uint8_t>(table[unit]), kBytesPerUnit);
    if (!fits) {
      *written = count;
      return 0;
    }
  }
  *written = count;
  return 1;
}

// The JIS row-and-cell to Shift_JIS transformation, in 8-bit arithmetic as
// the substitute's bytes depend on the wrap-around.
void JisToShiftJis(std::uint16_t code, std::uint8_t& first, std::uint8_t& second) {
  const std::uint8_t high = static_cast<std::uint8_t>(code >> 8);
  const std::uint8_t low = static_cast<std::uint8_t>(code);
  const std::uint8_t half = high >> 1;
  if ((high & 1) != 0) {
    first = static_cast<std::uint8_t>(half < 0x2F ? half + 0x71 : half + 0xB1);
    second = static_cast<std::uint8_t>(low > 0x5F ? low + 0x20 : low + 0x1F);
  } else {
    first = static_cast<std::uint8_t>(half <= 0x2F ? half + 0x70 : half + 0xB0);
    second = static_cast<std::uint8_t>(low + 0x7E);
  }
}

}  // namespace

int ConvertToCp936(unsigned inputBytes, const char16_t* input, unsigned capacity, unsigned* written,
                   char* output) {
  return ConvertFlat(kCp936Table, inputBytes, input, capacity, written, output);
}

int ConvertToCp949(unsigned inputBytes, const char16_t* input, unsigned capacity, unsigned* written,
                   char* output) {
  return ConvertFlat(kCp949Table, inputBytes, input, capacity, written, output);
}

int ConvertToCp950(unsigned inputBytes, const char16_t* input, unsigned capacity, unsigned* written,
                   char* output) {
  return ConvertFlat(kCp950Table, inputBytes, input, capacity, written, output);
}

int ConvertToShiftJis(unsigned inputBytes, const char16_t* input, unsigned capacity,
                      unsigned* written, char* output) {
  if (written == nullptr) return 0;
  unsigned count = 0;
  const unsigned units = inputBytes / kBytesPerUnit;
  for (unsigned i = 0; i < units; ++i) {
    const unsigned run = CopyAsciiRun(input + i, units - i, output + count, capacity - count);
    i += run;
    count += run;
    if (i == units) break;
    const char16_t unit = input[i];
    bool fits = false;
    if (unit < kFirstNonAscii) {
      fits = Put(output, capacity, count, static_cast<std::uint8_t>(unit), 0, 1);
    } else if (unit >= kHalfwidthKatakanaFirst && unit <= kHalfwidthKatakanaLast) {
      fits =
          Put(output, capacity, count,
              static_cast<std::uint8_t>(static_cast<std::uint8_t>(unit) + kHalfwidthKatakanaShift),
              0, 1);
    } else {
      std::uint16_t code = PagedEntry(kJisX0208Table, unit);
      if (code == 0) code = PagedEntry(kJisX0212Table, unit);
      if (code == 0) code = kJisSubstitute;
      std::uint8_t first = 0;
      std::uint8_t second = 0;
      JisToShiftJis(code, first, second);
      fits = Put(output, capacity, count, first, second, kBytesPerUnit);
    }
    if (!fits) {
      *written = count;
      return 0;
    }
  }
  *written = count;
  return 1;
}

int ConvertToIso8859(unsigned part, unsigned inputBytes, const char16_t* input, unsigned capacity,
                     int* written, char* output) {
  if (written == nullptr || part >= kIso8859SlotCount || capacity < inputBytes / kBytesPerUnit) {
    return 0;
  }
  const std::uint16_t* const* pages = kIso8859Tables[part];
  bool slotEmpty = true;
  for (std::size_t page = 0; page < kIso8859PageCount && slotEmpty; ++page) {
    slotEmpty = pages[page] == nullptr;
  }
  if (slotEmpty) return 0;

  // The capacity holds every unit, so a run always fits.
  int count = 0;
  const unsigned units = inputBytes / kBytesPerUnit;
  for (unsigned i = 0; i < units; ++i) {
    const unsigned run = CopyAsciiRun(input + i, units - i, output + count, units - i);
    i += run;
    count += static_cast<int>(run);
    if (i == units) break;
    const char16_t unit = input[i];
    if (unit >= kFirstIso8859Beyond) continue;
    if (unit < kFirstIso8859Looked) {
      output[count++] = static_cast<char>(static_cast<std::uint8_t>(unit));
      continue;
    }
    const std::uint16_t entry = PagedEntry(pages, unit);
    if (entry != 0) output[count++] = static_cast<char>(static_cast<std::uint8_t>(entry));
  }
  *written = count;
  return 1;
}

int ConvertDeviceText(const char16_t* input, unsigned inputBytes, char* output, unsigned capacity,
                      unsigned* written) {
  switch (platform::CurrentMachine().kernel().AnsiCodePage()) {
    case kCodePageSimplifiedChinese:
      return ConvertToCp936(inputBytes, input, capacity, written, output);
    case kCodePageTraditionalChinese:
      return ConvertToCp950(inputBytes, input, capacity, written, output);
    case kCodePageJapanese:
      return ConvertToShiftJis(inputBytes, input, capacity, written, output);
    case kCodePageKorean:
      return ConvertToCp949(inputBytes, input, capacity, written, output);
    default: {
      if (written == nullptr) return 0;
      int count = 0;
      const int converted =
          ConvertToIso8859(kDefaultIso8859Part, inputBytes, input, capacity, &count, output);
      if (converted != 0) *written = static_cast<unsigned>(count);
      return converted;
    }
  }
}

}  // namespace queries
