#include "prompts/module_text.h"

#include <cstdint>
#include <span>

#include "framework/resource_text.h"
#include "platform/machine.h"
#include "resources/resources.h"

namespace prompts {
namespace {

constexpr int kEntriesPerBlock = 16;
constexpr int kBlockShift = 4;
constexpr int kEntryMask = 0xF;

// Entry `index` of an RT_STRING block: each entry is a length and that many
// UTF-16 units. Empty when the block ends early.
std::u16string EntryOfBlock(std::span<const std::uint16_t> block, int index) {
  std::size_t at = 0;
  for (int entry = 0; entry < kEntriesPerBlock && at < block.size(); ++entry) {
    const std::size_t length = block[at++];
    if (at + length > block.size()) return {};
    if (entry == index) {
      std::u16string text(length, u'\0');
      for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char16_t>(block[at + i]);
      return text;
    }
    at += length;
  }
  return {};
}

}  // namespace

int LoadModuleText(int id, char* buffer, int capacity) {
  return framework::LoadString(id, buffer, capacity);
}

bool LoadModuleText(int id, std::string& text) {
  if (id < 0) return false;
  const std::span<const std::uint16_t> block = resources::FindStringBlock((id >> kBlockShift) + 1);
  const std::u16string wide = EntryOfBlock(block, id & kEntryMask);
  if (wide.empty()) return false;

  // CP_THREAD_ACP: the calling thread's ANSI code page is the machine's.
  platform::Kernel& kernel = platform::CurrentMachine().kernel();
  const std::uint32_t codePage = kernel.AnsiCodePage();
  const int needed = kernel.WideToAnsi(codePage, wide, nullptr, 0);
  if (needed <= 0) return false;
  std::string converted(static_cast<std::size_t>(needed), '\0');
  const int written = kernel.WideToAnsi(codePage, wide, converted.data(), needed);
  converted.resize(static_cast<std::size_t>(written > 0 ? written : 0));
  text = std::move(converted);
  return true;
}

}  // namespace prompts
