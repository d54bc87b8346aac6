#include "platform/win32/win32_machine.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct LocalFreer {
  void operator()(char* text) const { LocalFree(text); }
};

}  // namespace

std::string Win32Machine::InteractiveUserSid() {
  HANDLE rawToken = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken) == FALSE) return {};
  const std::unique_ptr<void, HandleCloser> token(rawToken);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size < sizeof(TOKEN_USER)) return {};
  std::vector<BYTE> buffer(size);
  if (GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) == FALSE) return {};
  const auto& user = *reinterpret_cast<const TOKEN_USER*>(buffer.data());
  char* rawText = nullptr;
  if (ConvertSidToStringSidA(user.User.Sid, &rawText) == FALSE) return {};
  const std::unique_ptr<char, LocalFreer> text(rawText);
  return std::string(text.get());
}

}  // namespace platform::win32

namespace platform {

std::unique_ptr<Machine> CreateDefaultMachine() { return std::make_unique<win32::Win32Machine>(); }

}  // namespace platform
