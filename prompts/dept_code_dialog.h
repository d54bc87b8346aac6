// The department code prompt (template 4003): asks for a five-digit code.
// Non-digits never stay in the field, OK is enabled from five characters on,
// and "00000" is refused without a word.
#pragma once

#include <string>
#include <string_view>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/edit.h"

namespace prompts {

inline constexpr int kDeptCodeLength = 5;
// The code nobody may confirm.
inline constexpr std::string_view kRefusedDeptCode = "00000";

class CDeptCode : public framework::Dialog {
 public:
  explicit CDeptCode(std::string_view initialCode);

  std::string m_strDeptCode;
  framework::ControlRef<framework::Edit> m_editDeptCode;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(framework::DataExchange& exchange) override;
  bool RouteMessage(const framework::Message& message) override;

 private:
  void OnChangeDeptCode();

  using Map = framework::MessageMap<CDeptCode>;
  static const Map kMessageMap;
};

// ValidateDepartmentCode: runs the prompt with the text in `code`; on OK
// writes the code (at most 5 characters and the NUL) and answers 1. Cancel,
// Escape and the close box answer 0 and leave `code` as it was; so does a
// null `code`, without a prompt.
int PromptForDeptCode(char* code);

}  // namespace prompts
