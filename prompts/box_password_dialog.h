// The box password prompt (template 4047): asks for the password of a
// document box after the device refused one. OK is enabled only for an empty
// entry (no password) or a full five-digit one.
#pragma once

#include <string>
#include <string_view>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "platform/spooler.h"

namespace prompts {

inline constexpr int kBoxPasswordLength = 5;

// CheckBoxPassword's answers.
inline constexpr int kBoxPermitted = 10;
inline constexpr int kBoxPromptCancelled = 11;
inline constexpr int kBoxNotAsked = -1;

class BoxPassword : public framework::Dialog {
 public:
  explicit BoxPassword(std::string_view initialPassword);

  std::string m_strPassword;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(framework::DataExchange& exchange) override;
  bool RouteMessage(const framework::Message& message) override;

 private:
  void OnChangePassword();

  using Map = framework::MessageMap<BoxPassword>;
  static const Map kMessageMap;
};

// Asks the device whether `password` (may be empty) opens box `boxNumber`
// (decimal text), prompting for another until one does. `entered` (at least
// 10 bytes, or null) receives each password entered. kBoxPermitted,
// kBoxPromptCancelled, or kBoxNotAsked when the device could not be asked.
int CheckBoxPassword(const char* queueName, const char* variant, const char* boxNumber,
                     const char* password, char* entered, platform::PrinterHandle queue);

}  // namespace prompts
