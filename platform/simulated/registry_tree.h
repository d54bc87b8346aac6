// The simulated machine's registry contents: hives of keys holding typed
// values, stored as Windows stores them (texts in UTF-16LE). Key and value
// names compare case-insensitively and keep their original spelling.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace platform::simulated {

// Longest key name Windows accepts (characters).
inline constexpr std::size_t kMaxKeyNameLength = 255;

// The upper-case form of a name, as the registry compares names.
std::u16string FoldCase(std::u16string_view name);
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

// The components of a backslash-separated key path; null when one of them is
// empty. A single trailing backslash is tolerated, as RegOpenKeyEx does.
std::optional<std::vector<std::u16string_view>> SplitKeyPath(std::u16string_view path);

struct RegistryValue {
  std::u16string name;  // empty for the default value "@"
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;
};

// The data of a REG_SZ holding `text`, NUL included.
std::vector<std::uint8_t> StringValueData(std::u16string_view text);
// The UTF-16 text of text-typed data, stopping at the first NUL.
std::u16string StringFromValueData(const std::vector<std::uint8_t>& data);

class RegistryNode {
 public:
  explicit RegistryNode(std::u16string name) : name_(std::move(name)) {}

  const std::u16string& name() const { return name_; }

  const RegistryNode* FindSubKey(std::u16string_view name) const;
  RegistryNode* FindSubKey(std::u16string_view name);
  RegistryNode& CreateSubKey(std::u16string_view name);
  bool DeleteSubKey(std::u16string_view name);
  // Subkeys in the registry's enumeration order (by upper-case name).
  const RegistryNode* SubKeyAt(std::size_t index) const;
  std::size_t SubKeyCount() const { return subKeys_.size(); }

  const RegistryValue* FindValue(std::u16string_view name) const;
  void SetValue(RegistryValue value);
  bool DeleteValue(std::u16string_view name);
  // Values in the order they were first written, as Windows enumerates them.
  std::vector<const RegistryValue*> Values() const;

 private:
  std::u16string name_;
  std::map<std::u16string, std::unique_ptr<RegistryNode>> subKeys_;  // by folded name
  std::map<std::u16string, RegistryValue> values_;                   // by folded name
  std::vector<std::u16string> valueOrder_;                           // folded names
};

class RegistryTree {
 public:
  RegistryTree();

  RegistryNode& Root(Hive hive);
  const RegistryNode& Root(Hive hive) const;

  // The key at `path` under `hive`, or null.
  const RegistryNode* Find(Hive hive, std::u16string_view path) const;
  RegistryNode* Find(Hive hive, std::u16string_view path);

  // Typed reads for the machine's own settings: null when the key or value
  // is absent or of another type.
  std::optional<std::u16string> ReadString(Hive hive, std::u16string_view path,
                                           std::u16string_view name) const;
  std::optional<std::uint32_t> ReadDword(Hive hive, std::u16string_view path,
                                         std::u16string_view name) const;

 private:
  static constexpr std::size_t kHiveCount = 4;
  std::array<std::unique_ptr<RegistryNode>, kHiveCount> roots_;
};

}  // namespace platform::simulated
