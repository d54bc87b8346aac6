// The DIN prompt (template 4001): asks for the five-digit document
// identification number that releases a private job. The field is cut at its
// first non-digit; Continue is enabled at five digits, and a Continue that
// arrives anyway with fewer is refused with a message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "framework/data_exchange.h"
#include "framework/dialog.h"

namespace prompts {

inline constexpr int kDinLength = 5;
// The caller's buffer of ValidateDIN and the block ValidateDIN1 hands out.
inline constexpr std::size_t kDinBlockSize = 256;

class CValidateDIN : public framework::Dialog {
 public:
  CValidateDIN();

  std::string m_strDIN;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(framework::DataExchange& exchange) override;
  bool RouteMessage(const framework::Message& message) override;
  // Only digits reach the window's default processing.
  bool OnWindowKey(KeyMessage message, std::string_view character) override;

 private:
  void OnChangeDin();

  using Map = framework::MessageMap<CValidateDIN>;
  static const Map kMessageMap;
};

// ValidateDIN: runs the prompt with the text in `din` (read up to its NUL or
// kDinBlockSize - 1 bytes); on Continue writes the five digits and the NUL and
// answers 1. Abort and the close box answer 0 and leave `din` as it was; so
// does a null `din`, without a prompt.
int ValidateDin(char* din);

// ValidateDIN1: runs the prompt from an empty field; on Continue stores
// through `din` a new kDinBlockSize-byte block of the C heap (the caller
// frees it) holding the DIN, and answers 1. Otherwise 0 and nothing stored.
int ValidateDin1(char** din);

}  // namespace prompts
