// Policy flags: whether the device enforces department codes, user accounts
// or the confirmation dialog, and whether black-free mode and private-password
// encryption are on. Each reads scalar objects of the family's private MIB and
// compares their printable text, case-insensitively and whole, with a fixed
// text.
#pragma once

#include <string_view>

#include "platform/spooler.h"

namespace queries {

inline constexpr char kDeptCodeModeOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.21.3.1.10.1.1";
inline constexpr char kDeptCodeCountModeOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.21.3.1.9.1.1";
inline constexpr char kDeptCodeSwitchOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.4.1.1.4.1.9124.0";
inline constexpr char kConfirmDialogOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.4.1.1.4.1.3847.0";
inline constexpr char kUserAccountOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.21.7.1.2.1.1";
inline constexpr char kBlackFreeModeOid[] = "1.3.6.1.4.1.1129.2.3.50.1.2.4.1.39.1.1";
inline constexpr char kPrivPasswordEncryptOid[] = "1.3.6.1.4.1.1129.2.3.50.1.2.4.1.49.1.1";

// The texts that mean "enforced" or "enabled".
inline constexpr std::string_view kDeptCodeModeOn = "3";
inline constexpr std::string_view kDeptCodeCountModeOn = "3";
inline constexpr std::string_view kDeptCodeSwitchOn = "1";
inline constexpr std::string_view kConfirmDialogOn = "1";
inline constexpr std::string_view kUserAccountOn = "3";
inline constexpr std::string_view kBlackFreeModeOn = "3";
inline constexpr std::string_view kPrivPasswordEncryptOn = "4";

// Answers of the flags.
inline constexpr int kPolicyOn = 1;
inline constexpr int kPolicyOff = 0;
inline constexpr int kPolicyNoAddress = -1;

// Whole-text comparison ignoring ASCII case.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

int IsDeptCodeEnforced(const char* queueName, const char* variant, platform::PrinterHandle queue);
int IsConfirmDialogEnforced(const char* queueName, const char* variant,
                            platform::PrinterHandle queue);
// Also the library's time-out status when the request timed out.
int IsUserAccountEnforced(const char* queueName, const char* variant,
                          platform::PrinterHandle queue);
int IsBlackFreeModeEnabled(const char* queueName, const char* variant,
                           platform::PrinterHandle queue);
int IsPrivPasswordEncryptEnabled(const char* queueName, const char* variant,
                                 platform::PrinterHandle queue);

}  // namespace queries
