#include "prompts/din_dialog.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/window_constants.h"
#include "prompts/message_boxes.h"
#include "prompts/module_state.h"
#include "resources/resource_ids.h"

namespace prompts {
namespace {

bool IsDinDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t LeadingDigits(std::string_view text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsDinDigit);
  return static_cast<std::size_t>(first - text.begin());
}

}  // namespace

const CValidateDIN::Map CValidateDIN::kMessageMap = {
    Map::Command(IDC_DIN, framework::kEnChange, &CValidateDIN::OnChangeDin),
};

CValidateDIN::CValidateDIN() : framework::Dialog(IDD_VALIDATE_DIN) {}

bool CValidateDIN::RouteMessage(const framework::Message& message) {
  return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
}

void CValidateDIN::DoDataExchange(framework::DataExchange& exchange) {
  exchange.Text(IDC_DIN, m_strDIN);
  exchange.MaxChars(m_strDIN, kDinLength);
}

bool CValidateDIN::OnInitDialog() {
  Dialog::OnInitDialog();
  // Filling the field may have enabled Continue; the prompt starts without it.
  if (framework::Control* ok = GetDlgItem(framework::kIdOk)) ok->EnableWindow(false);
  return true;
}

bool CValidateDIN::OnWindowKey(KeyMessage /*message*/, std::string_view character) {
  return character.size() == 1 && IsDinDigit(character.front());
}

void CValidateDIN::OnChangeDin() {
  UpdateData(true);
  framework::Control* ok = GetDlgItem(framework::kIdOk);
  if (ok != nullptr && m_strDIN.size() != static_cast<std::size_t>(kDinLength)) {
    ok->EnableWindow(false);
  }
  for (std::size_t i = 0; i < m_strDIN.size(); ++i) {
    if (!IsDinDigit(m_strDIN[i])) {
      m_strDIN.erase(i);
      break;
    }
    if (i == static_cast<std::size_t>(kDinLength - 1) && ok != nullptr) ok->EnableWindow(true);
  }
  UpdateData(false);
}

void CValidateDIN::OnOK() {
  // A field the framework refused has had its message already.
  if (!UpdateData(true)) return;
  if (m_strDIN.size() == static_cast<std::size_t>(kDinLength) &&
      LeadingDigits(m_strDIN) == m_strDIN.size()) {
    UpdateData(false);
    Dialog::OnOK();
    return;
  }
  ShowPromptMessage(*this, IDS_STR_INVALID_DIN);
}

namespace {

// The DIN of a prompt closed with Continue: five digits at most.
std::string_view ConfirmedDin(const CValidateDIN& dialog) {
  return std::string_view(dialog.m_strDIN).substr(0, kDinLength);
}

}  // namespace

int ValidateDin(char* din) {
  if (din == nullptr) return 0;
  ModuleStateGuard guard;
  CValidateDIN dialog;
  dialog.m_strDIN.assign(din, strnlen(din, kDinBlockSize - 1));
  if (dialog.DoModal() != framework::kIdOk) return 0;
  const std::string_view entered = ConfirmedDin(dialog);
  std::memcpy(din, entered.data(), entered.size());
  din[entered.size()] = '\0';
  return 1;
}

int ValidateDin1(char** din) {
  if (din == nullptr) return 0;
  ModuleStateGuard guard;
  CValidateDIN dialog;
  if (dialog.DoModal() != framework::kIdOk) return 0;
  auto* block = static_cast<char*>(std::calloc(kDinBlockSize, 1));
  if (block == nullptr) return 0;
  const std::string_view entered = ConfirmedDin(dialog);
  std::memcpy(block, entered.data(), entered.size());
  *din = block;
  return 1;
}

}  // namespace prompts
