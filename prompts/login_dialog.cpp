#include "prompts/login_dialog.h"

#include <array>
#include <cstring>
#include <vector>

#include "device/address_lookup.h"
#include "device/ansi_text.h"
#include "device/device_address.h"
#include "device/printer_host.h"
#include "device/socket_layer.h"
#include "framework/edit.h"
#include "framework/window_constants.h"
#include "platform/machine.h"
#include "prompts/message_boxes.h"
#include "prompts/module_state.h"
#include "prompts/module_text.h"
#include "resources/resource_ids.h"

namespace prompts {
namespace {

constexpr std::string_view kUserRequest = "ValidateUser";
constexpr std::string_view kAdministratorRequestName = "ValidateUserPriveledge";
constexpr std::string_view kReturnValueOpen = "<ReturnValue>";
constexpr std::string_view kReturnValueClose = "</ReturnValue>";
constexpr std::size_t kNetworkDigits = 8;
constexpr std::size_t kNodeDigits = 12;

int HexToNibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

template <std::size_t N>
bool HexPairs(std::string_view text, std::array<std::uint8_t, N>& bytes) {
  if (text.size() != 2 * N) return false;
  for (std::size_t i = 0; i < N; ++i) {
    const int high = HexToNibble(text[2 * i]);
    const int low = HexToNibble(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  return true;
}

void CopyOut(char* out, const std::string& text) {
  if (out == nullptr) return;
  device::CopyBounded(out, kLoginCallerBufferSize, text);
}

}  // namespace

std::string FormatLoginRequest(int folderMode, std::string_view userName,
                               std::string_view password) {
  const std::string_view request =
      folderMode == kAdministratorRequest ? kAdministratorRequestName : kUserRequest;
  std::string text;
  text.append("<Request>").append(request).append("</Request>");
  text.append("<UserName>").append(userName).append("</UserName>");
  text.append("<Password>").append(password).append("</Password>");
  return text;
}

bool ParseReturnValue(std::string_view reply) {
  reply = reply.substr(0, reply.find('\0'));
  const std::size_t open = reply.find(kReturnValueOpen);
  const std::size_t close = reply.find(kReturnValueClose);
  if (open == std::string_view::npos || close == std::string_view::npos) return false;
  const std::size_t start = open + kReturnValueOpen.size();
  if (close < start || close - start > kMaxReturnValueLength) return false;
  return device::EqualsIgnoringCase(reply.substr(start, close - start), "1");
}

std::optional<platform::IpxSocketAddress> HexPairsToBytes(std::string_view text) {
  if (text.size() != kNetworkDigits + 1 + kNodeDigits) return std::nullopt;
  const char separator = text[kNetworkDigits];
  if (separator != '-' && separator != ':') return std::nullopt;
  platform::IpxSocketAddress address;
  if (!HexPairs(text.substr(0, kNetworkDigits), address.network) ||
      !HexPairs(text.substr(kNetworkDigits + 1), address.node)) {
    return std::nullopt;
  }
  address.socket = kLoginIpxSocket;
  return address;
}

const CVezurOruvaUser::Map CVezurOruvaUser::kMessageMap = {
    Map::Command(IDC_LOGIN_PASSWORD, framework::kEnChange, &CVezurOruvaUser::OnChangePassword),
    Map::Command(IDC_LOGIN_BUTTON, framework::kBnClicked, &CVezurOruvaUser::OnLogin),
};

CVezurOruvaUser::CVezurOruvaUser() : framework::Dialog(IDD_LOGIN) {}

bool CVezurOruvaUser::RouteMessage(const framework::Message& message) {
  return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
}

void CVezurOruvaUser::DoDataExchange(framework::DataExchange& exchange) {
  exchange.Text(IDC_LOGIN_USER_NAME, m_strUserName);
  exchange.MaxChars(m_strUserName, kMaxLoginFieldLength);
  exchange.Text(IDC_LOGIN_PASSWORD, m_strPassword);
  exchange.MaxChars(m_strPassword, kMaxLoginFieldLength);
  exchange.Text(IDC_LOGIN_HIDDEN, m_strHiddenField);
}

bool CVezurOruvaUser::OnInitDialog() {
  Dialog::OnInitDialog();
  if (auto* password = Item<framework::Edit>(IDC_LOGIN_PASSWORD)) {
    password->SetPasswordChar('*');
  }
  return true;
}

void CVezurOruvaUser::OnChangePassword() { UpdateData(true); }

void CVezurOruvaUser::SetTitle(int textId) {
  std::array<char, kCaptionTextCapacity> title{};
  LoadModuleText(textId, title.data(), kCaptionTextCapacity);
  SetWindowText(title.data());
}

bool CVezurOruvaUser::ReadFieldsForLogin() {
  // A field the framework refused has had its message already.
  if (!UpdateData(true)) return false;
  if (m_strUserName.empty()) {
    ShowPromptMessage(*this, IDS_STR_ENTER_USERNAME);
    return false;
  }
  SetTitle(IDS_STR_LOGIN_WAIT);
  return true;
}

void CVezurOruvaUser::OnLogin() {
  if (!ReadFieldsForLogin()) return;
  ValidateUserOverIpx();
}

void CVezurOruvaUser::ValidateUserOverIpx() {
  // No address, or one that is no IPX address: the login stops here, the
  // title still saying "Please Wait...".
  std::array<char, device::kAddressBufferSize> ipxText{};
  if (!device::LookUpIpxAddress(m_strDeviceAddress.c_str(), m_strPrinterName.c_str(),
                                ipxText.data())) {
    return;
  }
  if (!ReadFieldsForLogin()) return;
  const device::SocketLayer sockets;
  const auto device = HexPairsToBytes(ipxText.data());
  if (!device) return;

  platform::Network& network = platform::CurrentMachine().network();
  int error = 0;
  const auto socket = network.OpenIpxDatagramSocket(&error);
  if (socket == nullptr) {
    platform::CurrentMachine().ui().MessageBox(nullptr, kSocketErrorText, kSocketErrorCaption,
                                               kModuleBoxType);
    return;
  }
  if (socket->Connect(*device) != 0) {
    ShowPromptMessage(*this, IDS_STR_COMM_START_FAILED);
    return;
  }

  std::vector<char> request(kLoginRequestSize, '\0');
  const std::string text = FormatLoginRequest(m_nFolderMode, m_strUserName, m_strPassword);
  // The field limits keep every request inside its buffer.
  if (text.size() >= request.size()) return;
  std::memcpy(request.data(), text.data(), text.size());
  if (socket->SendTo(request.data(), text.size() + 1, *device) != 0) return;

  std::vector<char> reply(kLoginReplySize, '\0');
  std::size_t received = 0;
  if (socket->ReceiveFrom(reply.data(), reply.size(), kLoginReplyTimeoutMilliseconds, &received) !=
      0) {
    return;
  }
  if (ParseReturnValue(std::string_view(reply.data(), received))) {
    SetTitle(IDS_STR_LOGIN_WELCOME);
    Dialog::OnOK();
    return;
  }
  SetTitle(IDS_STR_LOGIN_TITLE);
  ShowPromptMessage(*this, m_nFolderMode == kAdministratorRequest ? IDS_STR_ADMIN_LOGIN_REQUIRED
                                                                  : IDS_STR_LOGIN_UNKNOWN);
}

namespace {

// 1 accepted, 0 cancelled; none when the printer has no device address.
std::optional<int> RunLogin(char* userName, char* password, const char* queueName,
                            int requestKind) {
  CVezurOruvaUser dialog;
  std::array<char, device::kPrinterHostSize> host{};
  if (device::FindPrinterHost(queueName, host.data(), nullptr) == device::kNoPrinterHost) {
    return std::nullopt;
  }
  dialog.m_strPrinterName = queueName;
  dialog.m_strDeviceAddress = device::TextIn(host.data(), host.size());
  dialog.m_nFolderMode = requestKind;
  if (dialog.DoModal() != framework::kIdOk) return 0;
  CopyOut(userName, dialog.m_strUserName);
  CopyOut(password, dialog.m_strPassword);
  return 1;
}

}  // namespace

int IsVezurOruvaUser(char* userName, char* password, const char* queueName, int requestKind) {
  const ModuleStateGuard moduleState;
  return RunLogin(userName, password, queueName, requestKind).value_or(1);
}

int IsVezurOruvaUser16(char* userName, char* password, const char* queueName,
                       const unsigned int* requestKind) {
  const ModuleStateGuard moduleState;
  const int kind = requestKind != nullptr ? static_cast<int>(*requestKind) : 0;
  if (auto result = RunLogin(userName, password, queueName, kind)) return *result;
  ShowExportError(IDS_STR_NO_PRINTER_NAME);
  return 0;
}

}  // namespace prompts
