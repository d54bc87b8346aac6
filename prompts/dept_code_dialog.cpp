#include "prompts/dept_code_dialog.h"

#include <algorithm>
#include <cstring>

#include "framework/window_constants.h"
#include "prompts/module_state.h"
#include "prompts/prompt_setup.h"
#include "resources/resource_ids.h"

namespace prompts {
namespace {

bool IsCodeDigit(char c) { return c >= '0' && c <= '9'; }

// The texts set at initialisation.
constexpr RuntimeText kRuntimeTexts[] = {
    {kTitleText, IDS_STR_DEPT_CODE_TITLE},
    {IDC_DEPT_CODE_EXPLANATION, IDS_STR_DEPT_CODE_EXPLANATION},
    {IDC_DEPT_CODE_LABEL, IDS_STR_DEPT_CODE_LABEL},
    {framework::kIdOk, IDS_STR_DEPT_CODE_CONTINUE},
    {framework::kIdCancel, IDS_STR_DEPT_CODE_ABORT},
};

}  // namespace

const CDeptCode::Map CDeptCode::kMessageMap = {
    Map::Command(IDC_DEPT_CODE, framework::kEnChange, &CDeptCode::OnChangeDeptCode),
    Map::Command(framework::kIdOk, framework::kBnClicked, &CDeptCode::OnOK),
};

CDeptCode::CDeptCode(std::string_view initialCode)
    : framework::Dialog(IDD_DEPT_CODE), m_strDeptCode(initialCode) {}

bool CDeptCode::RouteMessage(const framework::Message& message) {
  return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
}

void CDeptCode::DoDataExchange(framework::DataExchange& exchange) {
  exchange.AttachControl(IDC_DEPT_CODE, m_editDeptCode);
  exchange.Text(IDC_DEPT_CODE, m_strDeptCode);
  exchange.MaxChars(m_strDeptCode, kDeptCodeLength);
}

bool CDeptCode::OnInitDialog() {
  Dialog::OnInitDialog();
  MakeTopmost(*this);
  SetRuntimeTexts(*this, kRuntimeTexts);
  return true;
}

void CDeptCode::OnChangeDeptCode() {
  UpdateData(true);
  bool deleted = false;
  for (std::size_t i = 0; i < m_strDeptCode.size();) {
    if (IsCodeDigit(m_strDeptCode[i])) {
      ++i;
    } else {
      m_strDeptCode.erase(i, 1);
      deleted = true;
    }
  }
  if (framework::Control* ok = GetDlgItem(framework::kIdOk)) {
    ok->EnableWindow(m_strDeptCode.size() >= static_cast<std::size_t>(kDeptCodeLength));
  }
  if (deleted) UpdateData(false);
}

void CDeptCode::OnOK() {
  if (m_strDeptCode == kRefusedDeptCode) {
    m_editDeptCode->SetFocus();
    m_editDeptCode->SetSel(0, -1);
    m_editDeptCode->ScrollCaret();
    return;
  }
  Dialog::OnOK();
}

int PromptForDeptCode(char* code) {
  if (code == nullptr) return 0;
  ModuleStateGuard guard;
  CDeptCode dialog(code);
  if (dialog.DoModal() != framework::kIdOk) return 0;
  const std::size_t length =
      std::min(dialog.m_strDeptCode.size(), static_cast<std::size_t>(kDeptCodeLength));
  std::memcpy(code, dialog.m_strDeptCode.data(), length);
  code[length] = '\0';
  return 1;
}

}  // namespace prompts
