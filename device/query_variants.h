// The exported device queries' rows of the query frame.
#pragma once

#include "device/query_frame.h"

namespace device {

using enum HandleRule;
using enum AddressObject;

// clang-format off
//                                                   handle rule         address object         time-out message at F2 buffer
inline constexpr QueryVariant kGetMfpModelQuery      {"GetMFPModel",     kKeepCallerHandle, kIpWithPercentElseGen, true,  false, 0};
inline constexpr QueryVariant kAbvPrinterCheckQuery  {"AbvPrinterCheck", kIgnoreOnWindows9x, kByShape,             true,  false, 0,
                                                      SessionsRequired::kUdp};
inline constexpr QueryVariant kIsDeptCodeEnforcedQuery        {"IsDeptCodeEnforced",        kIgnoreOnWindows9x, kGenAddress,           true,  true,  kShortMessageBuffer};
inline constexpr QueryVariant kIsConfirmDialogEnforcedQuery   {"IsConfirmDialogEnforced",   kIgnoreOnWindows9x, kIpAddress,            true,  true,  kLongMessageBuffer};
inline constexpr QueryVariant kIsUserAccountenforcedQuery     {"IsUserAccountenforced",     kIgnoreOnWindows9x, kIpWithPercentElseGen, true,  true,  kShortMessageBuffer,
                                                                SessionsRequired::kEither, /*goesOnPastF1F2=*/true};
inline constexpr QueryVariant kIsBlackFreeModeEnabledQuery    {"IsBlackFreeModeEnabled",    kIgnoreOnWindows9x, kIpAddress,            true,  true,  kLongMessageBuffer};
inline constexpr QueryVariant kIsPrivPasswordEncryptEnabledQuery{"IsPrivPasswordEncryptEnabled", kIgnoreOnWindows9x, kIpAddress,       true,  true,  kLongMessageBuffer};
inline constexpr QueryVariant kIsValidDeptCodeMckQuery        {"IsValidDeptCodeMck",        kIgnoreOnWindows9x, kGenAddress,           true,  true,  kShortMessageBuffer,
                                                                SessionsRequired::kEither, /*goesOnPastF1F2=*/false, /*goesOnPastF2=*/true};
inline constexpr QueryVariant kGetBoxInfo9xQuery              {"GetBoxInfo9x",              kKeepCallerHandle,  kGenWholeText,         true,  false, 0};
inline constexpr QueryVariant kGetBoxInfoQuery                {"GetBoxInfo",                kKeepCallerHandle,  kGenAddress,           true,  false, 0};
inline constexpr QueryVariant kGetBoxStatusExQuery            {"GetBoxStatusEx",            kIgnoreOnWindows9x, kGenAddress,           false, false, 0};
inline constexpr QueryVariant kGetHspStatusExQuery            {"GetHSPStatusEx",            kIgnoreOnWindows9x, kGenAddress,           false, false, 0};
inline constexpr QueryVariant kCheckBoxPasswordQuery          {"CheckBoxPassword",          kIgnoreOnWindows9x, kGenAddress,           false, false, 0};
inline constexpr QueryVariant kGetAdvancedProfileStringsQuery {"GetAdvancedProfileStrings", kIgnoreOnWindows9x, kGenWithPercentElseIp, true,  true,  kShortMessageBuffer};
// clang-format on

}  // namespace device
