// A registry key of the test's own, removed with everything below it when
// the test ends. Under Wine it lives in the prefix of the test run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"

namespace platform::win32::testing {

class ScratchKey {
 public:
  // `parent` under `hive`; the key's name is `name` made unique to this process.
  ScratchKey(HKEY hive, std::string parent, std::string_view name)
      : hive_(hive),
        name_(std::string(name) + " " + std::to_string(GetCurrentProcessId())),
        path_(parent + "\\" + name_) {
    Create(path_);
  }
  ~ScratchKey() { RegDeleteTreeA(hive_, path_.c_str()); }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  const std::string& name() const { return name_; }
  const std::string& path() const { return path_; }

  // Values under `subKey` ("" for the key itself), created as needed.
  void SetText(const std::string& subKey, const char* value, std::string_view text,
               DWORD type = REG_SZ) const {
    const std::string data(text);
    Set(subKey, value, type, data.c_str(), data.size() + 1);
  }
  void SetDword(const std::string& subKey, const char* value, std::uint32_t data) const {
    Set(subKey, value, REG_DWORD, &data, sizeof data);
  }
  void SetBytes(const std::string& subKey, const char* value, DWORD type,
                std::string_view bytes) const {
    Set(subKey, value, type, bytes.data(), bytes.size());
  }

 private:
  void Create(const std::string& path) const {
    HKEY key = nullptr;
    if (RegCreateKeyExA(hive_, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
      RegCloseKey(key);
    }
  }
  void Set(const std::string& subKey, const char* value, DWORD type, const void* data,
           std::size_t size) const {
    const std::string path = subKey.empty() ? path_ : path_ + "\\" + subKey;
    Create(path);
    RegSetKeyValueA(hive_, path.c_str(), value, type, data, static_cast<DWORD>(size));
  }

  HKEY hive_;
  std::string name_;
  std::string path_;
};

}  // namespace platform::win32::testing
