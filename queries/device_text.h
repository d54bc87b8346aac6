// Conversion of the device's 16-bit text (box names) into the bytes of the
// process's ANSI code page, by table lookup alone: no allocation, no system
// conversion service, one pass.
//
// Every converter writes into the caller's buffer, counts the bytes written
// and returns 1, or 0 when the output would not fit (the count then tells
// how much was written). Nothing is written past the count and no zero is
// added. The input is taken one unit at a time: `inputBytes` / 2 units.
#pragma once

#include <cstdint>

namespace queries {

// Code pages ConvertDeviceText tells apart; any other gets ISO 8859-1.
inline constexpr std::uint32_t kCodePageSimplifiedChinese = 936;
inline constexpr std::uint32_t kCodePageTraditionalChinese = 950;
inline constexpr std::uint32_t kCodePageJapanese = 932;
inline constexpr std::uint32_t kCodePageKorean = 949;
inline constexpr unsigned kDefaultIso8859Part = 1;

int ConvertToCp936(unsigned inputBytes, const char16_t* input, unsigned capacity, unsigned* written,
                   char* output);
int ConvertToCp949(unsigned inputBytes, const char16_t* input, unsigned capacity, unsigned* written,
                   char* output);
int ConvertToCp950(unsigned inputBytes, const char16_t* input, unsigned capacity, unsigned* written,
                   char* output);
// JIS X 0208 first, then JIS X 0212 (whose code gives the JIS X 0208
// character of the same row and cell), else the substitute A2AE.
int ConvertToShiftJis(unsigned inputBytes, const char16_t* input, unsigned capacity,
                      unsigned* written, char* output);
// Part 1, 2 or 5; refuses (0, count untouched) any other part or a capacity
// below half the input length. Characters the part lacks are dropped.
int ConvertToIso8859(unsigned part, unsigned inputBytes, const char16_t* input, unsigned capacity,
                     int* written, char* output);

// Picks the converter by the machine's ANSI code page.
int ConvertDeviceText(const char16_t* input, unsigned inputBytes, char* output, unsigned capacity,
                      unsigned* written);

}  // namespace queries
