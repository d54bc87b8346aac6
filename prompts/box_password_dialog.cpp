#include "prompts/box_password_dialog.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "device/query_frame.h"
#include "device/query_variants.h"
#include "framework/window_constants.h"
#include "platform/decimal_text.h"
#include "prompts/module_text.h"
#include "prompts/prompt_setup.h"
#include "queries/box_status.h"
#include "resources/resource_ids.h"

namespace prompts {
namespace {

// The texts set at initialisation.
constexpr RuntimeText kRuntimeTexts[] = {
    {kTitleText, IDS_STR_BOX_PASSWORD_TITLE},
    {IDC_BOX_PASSWORD_EXPLANATION, IDS_STR_BOX_PASSWORD_EXPLANATION},
    {IDC_BOX_PASSWORD_LABEL, IDS_STR_BOX_PASSWORD_LABEL},
    {framework::kIdOk, IDS_STR_BOX_PASSWORD_OK},
    {framework::kIdCancel, IDS_STR_BOX_PASSWORD_CANCEL},
};

std::string FirstCharacters(const char* text) {
  if (text == nullptr) return {};
  return std::string(text, strnlen(text, kBoxPasswordLength));
}

std::string RowOid(std::string_view password) {
  return password.empty() ? queries::BuildNoPasswordOid()
                          : queries::BuildBoxPasswordOid(platform::ReadDecimal(password));
}

}  // namespace

const BoxPassword::Map BoxPassword::kMessageMap = {
    Map::Command(IDC_BOX_PASSWORD, framework::kEnChange, &BoxPassword::OnChangePassword),
};

BoxPassword::BoxPassword(std::string_view initialPassword)
    : framework::Dialog(IDD_BOX_PASSWORD), m_strPassword(initialPassword) {}

bool BoxPassword::RouteMessage(const framework::Message& message) {
  return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
}

void BoxPassword::DoDataExchange(framework::DataExchange& exchange) {
  exchange.Text(IDC_BOX_PASSWORD, m_strPassword);
  exchange.MaxChars(m_strPassword, kBoxPasswordLength);
}

bool BoxPassword::OnInitDialog() {
  Dialog::OnInitDialog();
  MakeTopmost(*this);
  SetRuntimeTexts(*this, kRuntimeTexts);
  return true;
}

void BoxPassword::OnChangePassword() {
  UpdateData(true);
  if (framework::Control* ok = GetDlgItem(framework::kIdOk)) {
    ok->EnableWindow(m_strPassword.empty() ||
                     m_strPassword.size() == static_cast<std::size_t>(kBoxPasswordLength));
  }
  UpdateData(false);
}

int CheckBoxPassword(const char* queueName, const char* variant, const char* boxNumber,
                     const char* password, char* entered, platform::PrinterHandle queue) {
  int answer = kBoxNotAsked;
  const int box = platform::ReadDecimal(boxNumber);
  device::RunQuery(device::kCheckBoxPasswordQuery, {queueName, variant, queue},
                   [&](device::QuerySession& session) {
                     std::string oid =
                         password == nullptr || *password == '\0'
                             ? queries::BuildNoPasswordOid()
                             : queries::BuildBoxPasswordOid(platform::ReadDecimal(password));
                     std::string promptText = FirstCharacters(password);
                     for (;;) {
                       const device::RequestResult row =
                           session.Request(device::RequestPattern::kB, oid.c_str());
                       if (row.failed) return;
                       std::array<unsigned char, queries::kBoxBitmapSize> bitmap{};
                       unsigned long length = 0;
                       row.vb.get_value(bitmap.data(), length, bitmap.size());
                       if (queries::TestBoxBit(bitmap, box)) {
                         answer = kBoxPermitted;
                         return;
                       }
                       BoxPassword dialog(promptText);
                       if (dialog.DoModal() != framework::kIdOk) {
                         answer = kBoxPromptCancelled;
                         return;
                       }
                       promptText = dialog.m_strPassword.substr(0, kBoxPasswordLength);
                       if (entered != nullptr) {
                         std::memcpy(entered, promptText.data(), promptText.size());
                         entered[promptText.size()] = '\0';
                       }
                       oid = RowOid(promptText);
                     }
                   });
  return answer;
}

}  // namespace prompts
