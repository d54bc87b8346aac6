#include "platform/simulated/simulated_registry.h"

#include <cstring>
#include <utility>

#include "platform/simulated/code_pages.h"

namespace platform::simulated {
namespace {

bool IsTextType(RegType type) {
  return type == RegType::Sz || type == RegType::ExpandSz || type == RegType::MultiSz;
}

class SimulatedRegistryKey : public RegistryKey {
 public:
  // `tree` keeps the node alive for as long as the key is open.
  SimulatedRegistryKey(std::shared_ptr<RegistryTree> tree, const RegistryNode& node,
                       std::uint32_t ansiCodePage)
      : tree_(std::move(tree)), node_(node), ansiCodePage_(ansiCodePage) {}

  std::uint32_t QueryValue(std::string_view name, RegType* type, void* data,
                           std::uint32_t* size) const override {
    if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
    const RegistryValue* value = node_.FindValue(FromAnsi(ansiCodePage_, name));
    if (value == nullptr) return kErrorFileNotFound;
    if (type != nullptr) *type = value->type;
    const std::vector<std::uint8_t> bytes = AnsiValueData(*value, ansiCodePage_);
    if (size == nullptr) return kErrorSuccess;
    if (data == nullptr) {
      *size = static_cast<std::uint32_t>(bytes.size());
      return kErrorSuccess;
    }
    return CopyValueData(bytes, data, *size, size);
  }

  std::uint32_t EnumSubKey(std::uint32_t index, char* name, std::uint32_t capacity) const override {
    const RegistryNode* subKey = node_.SubKeyAt(index);
    if (subKey == nullptr) return kErrorNoMoreItems;
    if (name == nullptr) return kErrorInvalidParameter;
    const std::string text = ToAnsi(ansiCodePage_, subKey->name());
    if (text.size() >= capacity) return kErrorMoreData;
    std::memcpy(name, text.data(), text.size());
    name[text.size()] = '\0';
    return kErrorSuccess;
  }

 private:
  std::shared_ptr<RegistryTree> tree_;
  const RegistryNode& node_;
  std::uint32_t ansiCodePage_;
};

}  // namespace

std::vector<std::uint8_t> AnsiValueData(const RegistryValue& value, std::uint32_t codePage) {
  if (!IsTextType(value.type)) return value.data;
  std::u16string text;
  text.reserve(value.data.size() / 2);
  for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
    text.push_back(static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8)));
  }
  const std::string ansi = ToAnsi(codePage, text);
  return {ansi.begin(), ansi.end()};
}

std::uint32_t CopyValueData(const std::vector<std::uint8_t>& bytes, void* data,
                            std::uint32_t capacity, std::uint32_t* needed) {
  const auto size = static_cast<std::uint32_t>(bytes.size());
  if (needed != nullptr) *needed = size;
  if (capacity < size) return kErrorMoreData;
  if (data != nullptr && size > 0) std::memcpy(data, bytes.data(), size);
  return kErrorSuccess;
}

SimulatedRegistry::SimulatedRegistry(std::shared_ptr<RegistryTree> tree, std::uint32_t ansiCodePage)
    : tree_(std::move(tree)), ansiCodePage_(ansiCodePage) {}

std::unique_ptr<RegistryKey> SimulatedRegistry::OpenKey(Hive hive, std::string_view path,
                                                        std::uint32_t* error) {
  const RegistryNode* node = tree_->Find(hive, FromAnsi(ansiCodePage_, path));
  if (error != nullptr) *error = node != nullptr ? kErrorSuccess : kErrorFileNotFound;
  if (node == nullptr) return nullptr;
  return std::make_unique<SimulatedRegistryKey>(tree_, *node, ansiCodePage_);
}

}  // namespace platform::simulated
