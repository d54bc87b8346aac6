// The device login (template 4004): a user name and password checked by the
// device over one IPX datagram exchange, an XML request and its reply. The
// dialog stays open until the device accepts or the user cancels; Enter
// does nothing (IDOK is a hidden stand-in, the login is button 4008).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "platform/network.h"

namespace prompts {

// The device's login socket, and how long its reply is awaited.
inline constexpr std::uint16_t kLoginIpxSocket = 0x1A0B;
inline constexpr std::uint32_t kLoginReplyTimeoutMilliseconds = 3000;
// The request is formatted into a buffer of this size, the reply read into one of this size.
inline constexpr std::size_t kLoginRequestSize = 255;
inline constexpr std::size_t kLoginReplySize = 100;
// The caller's user name and password buffers.
inline constexpr std::size_t kLoginCallerBufferSize = 256;
// Each field holds at most this many characters, so that the longer request
// with both fields full still fits kLoginRequestSize with its zero, and each
// field fits the caller's buffer.
inline constexpr int kMaxLoginFieldLength = 85;
// Request kind 2 asks for administrator rights.
inline constexpr int kAdministratorRequest = 2;
// The value of an accepting reply, and the longest value read.
inline constexpr std::size_t kMaxReturnValueLength = 10;

inline constexpr std::string_view kSocketErrorText = "ERROR on socket()";
inline constexpr std::string_view kSocketErrorCaption = "ERROR";

// The request for `folderMode` with the user name and password.
std::string FormatLoginRequest(int folderMode, std::string_view userName,
                               std::string_view password);

// The reply's value between the first "<ReturnValue>" and the first
// "</ReturnValue>": an acceptance exactly when it is "1" (either case). A
// reply without both tags or with a longer value than kMaxReturnValueLength
// is a refusal.
bool ParseReturnValue(std::string_view reply);

// An IPX address text: 8 hexadecimal digits of the network number, "-" (or
// ":"), 12 of the node number, either case. None for anything else.
std::optional<platform::IpxSocketAddress> HexPairsToBytes(std::string_view text);

class CVezurOruvaUser : public framework::Dialog {
 public:
  CVezurOruvaUser();

  int m_nFolderMode = 0;
  std::string m_strDeviceAddress;
  std::string m_strPrinterName;
  std::string m_strUserName;
  std::string m_strPassword;
  std::string m_strHiddenField;

 protected:
  bool OnInitDialog() override;
  // Enter: the dialog is not closed.
  void OnOK() override {}
  void DoDataExchange(framework::DataExchange& exchange) override;
  bool RouteMessage(const framework::Message& message) override;

 private:
  void OnChangePassword();
  void OnLogin();
  // Reads the fields; false (after a message) when the user name is empty
  // or a field was refused. Shows "Please Wait..." otherwise.
  bool ReadFieldsForLogin();
  void ValidateUserOverIpx();
  void SetTitle(int textId);

  using Map = framework::MessageMap<CVezurOruvaUser>;
  static const Map kMessageMap;
};

// The exports: 1 when the device accepted (both texts copied out), 0 when
// cancelled. Without a device address IsVezurOruvaUser answers 1 at once,
// IsVezurOruvaUser16 shows 5013 and answers 0.
int IsVezurOruvaUser(char* userName, char* password, const char* queueName, int requestKind);
int IsVezurOruvaUser16(char* userName, char* password, const char* queueName,
                       const unsigned int* requestKind);

}  // namespace prompts
