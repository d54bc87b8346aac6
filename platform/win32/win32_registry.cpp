#include "platform/win32/win32_registry.h"

#include <string>

#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

HKEY HiveKey(Hive hive) {
  switch (hive) {
    case Hive::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case Hive::CurrentUser:
      return HKEY_CURRENT_USER;
    case Hive::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case Hive::Users:
      return HKEY_USERS;
  }
  return nullptr;
}

class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}
  ~Win32RegistryKey() override { RegCloseKey(key_); }
  Win32RegistryKey(const Win32RegistryKey&) = delete;
  Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

  std::uint32_t QueryValue(std::string_view name, RegType* type, void* data,
                           std::uint32_t* size) const override {
    if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
    const std::string valueName(name);  // the API wants it NUL-terminated
    DWORD valueType = REG_NONE;
    DWORD valueSize = size != nullptr ? *size : 0;
    const LONG result =
        RegQueryValueExA(key_, valueName.c_str(), nullptr, &valueType, static_cast<BYTE*>(data),
                         size != nullptr ? &valueSize : nullptr);
    if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
      if (type != nullptr) *type = static_cast<RegType>(valueType);
      if (size != nullptr) *size = valueSize;
    }
    return static_cast<std::uint32_t>(result);
  }

  std::uint32_t EnumSubKey(std::uint32_t index, char* name, std::uint32_t capacity) const override {
    if (name == nullptr) return kErrorInvalidParameter;
    DWORD length = capacity;
    return static_cast<std::uint32_t>(
        RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr));
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(Hive hive, std::string_view path,
                                                    std::uint32_t* error) {
  const std::string subKey(path);
  HKEY key = nullptr;
  const LONG result = RegOpenKeyExA(HiveKey(hive), subKey.c_str(), 0, KEY_READ, &key);
  if (error != nullptr) *error = static_cast<std::uint32_t>(result);
  if (result != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32RegistryKey>(key);
}

}  // namespace platform::win32
