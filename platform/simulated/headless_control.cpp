#include "platform/simulated/headless_control.h"

#include <algorithm>
#include <cctype>

#include "platform/window_constants.h"

namespace platform::simulated {

using namespace window;

Control::Control(ControlOwner& owner, int id, std::uint32_t style, std::string text)
    : owner_(owner),
      id_(id),
      style_(style),
      text_(std::move(text)),
      enabled_((style & kWsDisabled) == 0),
      visible_((style & kWsVisible) != 0) {}

void Control::ModifyStyle(std::uint32_t remove, std::uint32_t add) {
  style_ = (style_ & ~remove) | add;
}

void Control::SetWindowText(std::string_view text) { text_.assign(text); }

std::intptr_t Control::Send(unsigned /*message*/, std::uintptr_t /*wParam*/,
                            std::intptr_t /*lParam*/) {
  return 0;
}

std::intptr_t StaticText::Send(unsigned message, std::uintptr_t /*wParam*/, std::intptr_t lParam) {
  const std::intptr_t previous = image_;
  if (message == window::kStmSetImage) image_ = lParam;
  return message == window::kStmSetImage || message == window::kStmGetImage ? previous : 0;
}

ControlSnapshot StaticText::Snapshot() const {
  ControlSnapshot snapshot = Control::Snapshot();
  if (ShowsPicture(style())) snapshot.text.clear();
  return snapshot;
}

bool Control::IsTabStop() const { return (style_ & kWsTabStop) != 0; }

ControlSnapshot Control::Snapshot() const {
  ControlSnapshot snapshot;
  snapshot.id = id_;
  snapshot.kind = std::string(kind());
  snapshot.text = text_;
  snapshot.enabled = enabled_;
  snapshot.visible = visible_;
  return snapshot;
}

void Control::NotifyOwner(Notification notification) {
  notification.control = id_;
  owner_.OnControlNotify(notification);
}

namespace {
int FoldCase(char c) { return std::tolower(static_cast<unsigned char>(c)); }
}  // namespace

int CompareNoCase(std::string_view left, std::string_view right) {
  const std::size_t common = std::min(left.size(), right.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int difference = FoldCase(left[i]) - FoldCase(right[i]);
    if (difference != 0) return difference;
  }
  if (left.size() == right.size()) return 0;
  return left.size() < right.size() ? -1 : 1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

}  // namespace platform::simulated
