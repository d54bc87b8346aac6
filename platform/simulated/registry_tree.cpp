#include "platform/simulated/registry_tree.h"

#include <utility>

namespace platform::simulated {
namespace {

// Simple upper-casing of the scripts a profile is likely to hold: enough for
// Windows' case-insensitive name comparison without a locale.
char16_t UpperCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F)) {
    return static_cast<char16_t>(c - 0x20);
  }
  if (c == 0xFF) return 0x178;
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  // Latin Extended-A pairs capital/small letters on neighbouring code points.
  const bool oddSmall = (c >= 0x101 && c <= 0x137) || (c >= 0x14B && c <= 0x177);
  const bool evenSmall = (c >= 0x13A && c <= 0x148) || (c >= 0x17A && c <= 0x17E);
  if ((oddSmall && c % 2 == 1) || (evenSmall && c % 2 == 0)) return static_cast<char16_t>(c - 1);
  return c;
}

constexpr std::size_t HiveIndex(Hive hive) { return static_cast<std::size_t>(hive); }

}  // namespace

std::u16string FoldCase(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) c = UpperCase(c);
  return folded;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperCase(a[i]) != UpperCase(b[i])) return false;
  }
  return true;
}

std::optional<std::vector<std::u16string_view>> SplitKeyPath(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  if (path.empty()) return parts;
  if (path.back() == u'\\') path.remove_suffix(1);
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find(u'\\', start);
    const std::u16string_view part = path.substr(start, end - start);
    if (part.empty()) return std::nullopt;
    parts.push_back(part);
    if (end == std::u16string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

std::vector<std::uint8_t> StringValueData(std::u16string_view text) {
  std::vector<std::uint8_t> data;
  data.reserve((text.size() + 1) * 2);
  for (char16_t c : text) {
    data.push_back(static_cast<std::uint8_t>(c & 0xFF));
    data.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  data.push_back(0);
  data.push_back(0);
  return data;
}

std::u16string StringFromValueData(const std::vector<std::uint8_t>& data) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

const RegistryNode* RegistryNode::FindSubKey(std::u16string_view name) const {
  const auto it = subKeys_.find(FoldCase(name));
  return it == subKeys_.end() ? nullptr : it->second.get();
}

RegistryNode* RegistryNode::FindSubKey(std::u16string_view name) {
  const auto it = subKeys_.find(FoldCase(name));
  return it == subKeys_.end() ? nullptr : it->second.get();
}

RegistryNode& RegistryNode::CreateSubKey(std::u16string_view name) {
  auto& slot = subKeys_[FoldCase(name)];
  if (!slot) slot = std::make_unique<RegistryNode>(std::u16string(name));
  return *slot;
}

bool RegistryNode::DeleteSubKey(std::u16string_view name) {
  return subKeys_.erase(FoldCase(name)) > 0;
}

const RegistryNode* RegistryNode::SubKeyAt(std::size_t index) const {
  if (index >= subKeys_.size()) return nullptr;
  return std::next(subKeys_.begin(), static_cast<std::ptrdiff_t>(index))->second.get();
}

const RegistryValue* RegistryNode::FindValue(std::u16string_view name) const {
  const auto it = values_.find(FoldCase(name));
  return it == values_.end() ? nullptr : &it->second;
}

void RegistryNode::SetValue(RegistryValue value) {
  std::u16string key = FoldCase(value.name);
  // Rewriting a value keeps the spelling it was created with, as Windows does.
  if (const auto it = values_.find(key); it != values_.end()) {
    value.name = it->second.name;
  } else {
    valueOrder_.push_back(key);
  }
  values_.insert_or_assign(std::move(key), std::move(value));
}

bool RegistryNode::DeleteValue(std::u16string_view name) {
  const std::u16string key = FoldCase(name);
  if (values_.erase(key) == 0) return false;
  std::erase(valueOrder_, key);
  return true;
}

std::vector<const RegistryValue*> RegistryNode::Values() const {
  std::vector<const RegistryValue*> values;
  values.reserve(valueOrder_.size());
  for (const std::u16string& key : valueOrder_) values.push_back(&values_.at(key));
  return values;
}

RegistryTree::RegistryTree() {
  roots_[HiveIndex(Hive::ClassesRoot)] = std::make_unique<RegistryNode>(u"HKEY_CLASSES_ROOT");
  roots_[HiveIndex(Hive::CurrentUser)] = std::make_unique<RegistryNode>(u"HKEY_CURRENT_USER");
  roots_[HiveIndex(Hive::LocalMachine)] = std::make_unique<RegistryNode>(u"HKEY_LOCAL_MACHINE");
  roots_[HiveIndex(Hive::Users)] = std::make_unique<RegistryNode>(u"HKEY_USERS");
}

RegistryNode& RegistryTree::Root(Hive hive) { return *roots_.at(HiveIndex(hive)); }
const RegistryNode& RegistryTree::Root(Hive hive) const { return *roots_.at(HiveIndex(hive)); }

const RegistryNode* RegistryTree::Find(Hive hive, std::u16string_view path) const {
  const auto parts = SplitKeyPath(path);
  if (!parts) return nullptr;
  const RegistryNode* node = &Root(hive);
  for (std::u16string_view part : *parts) {
    node = node->FindSubKey(part);
    if (node == nullptr) return nullptr;
  }
  return node;
}

RegistryNode* RegistryTree::Find(Hive hive, std::u16string_view path) {
  return const_cast<RegistryNode*>(std::as_const(*this).Find(hive, path));
}

std::optional<std::u16string> RegistryTree::ReadString(Hive hive, std::u16string_view path,
                                                       std::u16string_view name) const {
  const RegistryNode* node = Find(hive, path);
  const RegistryValue* value = node ? node->FindValue(name) : nullptr;
  if (value == nullptr || (value->type != RegType::Sz && value->type != RegType::ExpandSz)) {
    return std::nullopt;
  }
  return StringFromValueData(value->data);
}

std::optional<std::uint32_t> RegistryTree::ReadDword(Hive hive, std::u16string_view path,
                                                     std::u16string_view name) const {
  const RegistryNode* node = Find(hive, path);
  const RegistryValue* value = node ? node->FindValue(name) : nullptr;
  if (value == nullptr || value->type != RegType::Dword || value->data.size() != 4) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(value->data[0] | (value->data[1] << 8) |
                                    (value->data[2] << 16) |
                                    (static_cast<std::uint32_t>(value->data[3]) << 24));
}

}  // namespace platform::simulated
