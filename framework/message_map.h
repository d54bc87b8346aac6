// Message routing in the manner of WTL's message maps: each dialog class keeps
// one table from (control, notification) to a member function, and its
// RouteMessage hands a message to the table before its base class:
//
//   const CMyDialog::Map CMyDialog::kMessageMap = {
//       Map::Command(IDC_NAME, framework::kEnChange, &CMyDialog::OnChangeName),
//       Map::VScroll(IDC_ROWS, &CMyDialog::OnScrollRows),
//       Map::CommandRange(IDC_FIRST, IDC_LAST, framework::kEnChange, &CMyDialog::OnChangeAny),
//   };
//   bool CMyDialog::RouteMessage(const framework::Message& message) {
//     return kMessageMap.Dispatch(*this, message) || Dialog::RouteMessage(message);
//   }
#pragma once

#include <initializer_list>
#include <variant>
#include <vector>

#include "framework/control.h"

namespace framework {

enum class MessageKind {
  Command,  // WM_COMMAND: a control's notification code
  Notify,   // WM_NOTIFY
  VScroll,  // WM_VSCROLL from a scroll bar control
  HScroll,  // WM_HSCROLL
};

struct Message {
  MessageKind kind = MessageKind::Command;
  int control = 0;
  int code = 0;                                // notification or scroll code
  int position = 0;                            // scroll messages: the thumb position
  const Notification* notification = nullptr;  // WM_NOTIFY's details
};

template <class D>
class MessageMap {
 public:
  using CommandHandler = void (D::*)();
  using NotifyHandler = void (D::*)(const Notification&);
  using ScrollHandler = void (D::*)(int code, int position);
  // ON_CONTROL_RANGE: one handler for a run of controls, told which one.
  using RangeHandler = void (D::*)(int control);

  struct Entry {
    MessageKind kind;
    int control;
    int code;  // not used for scroll messages: any code of that control
    std::variant<CommandHandler, NotifyHandler, ScrollHandler, RangeHandler> handler;
    int lastControl = 0;  // range entries: the last control of the run
  };

  static Entry Command(int control, int code, CommandHandler handler) {
    return {MessageKind::Command, control, code, handler};
  }
  static Entry Notify(int control, int code, NotifyHandler handler) {
    return {MessageKind::Notify, control, code, handler};
  }
  static Entry CommandRange(int first, int last, int code, RangeHandler handler) {
    return {MessageKind::Command, first, code, handler, last};
  }
  static Entry VScroll(int control, ScrollHandler handler) {
    return {MessageKind::VScroll, control, 0, handler};
  }
  static Entry HScroll(int control, ScrollHandler handler) {
    return {MessageKind::HScroll, control, 0, handler};
  }

  MessageMap(std::initializer_list<Entry> entries) : entries_(entries) {}

  // Calls the first entry matching `message`; false when none does.
  bool Dispatch(D& dialog, const Message& message) const {
    for (const Entry& entry : entries_) {
      const bool range = std::holds_alternative<RangeHandler>(entry.handler);
      const bool inRange =
          range && message.control >= entry.control && message.control <= entry.lastControl;
      if (entry.kind != message.kind || (entry.control != message.control && !inRange)) continue;
      const bool scroll =
          message.kind == MessageKind::VScroll || message.kind == MessageKind::HScroll;
      if (!scroll && entry.code != message.code) continue;
      if (const auto* command = std::get_if<CommandHandler>(&entry.handler)) {
        (dialog.*(*command))();
      } else if (const auto* ranged = std::get_if<RangeHandler>(&entry.handler)) {
        (dialog.*(*ranged))(message.control);
      } else if (const auto* notify = std::get_if<NotifyHandler>(&entry.handler)) {
        static const Notification kNone{};
        (dialog.*(*notify))(message.notification != nullptr ? *message.notification : kNone);
      } else {
        (dialog.*(std::get<ScrollHandler>(entry.handler)))(message.code, message.position);
      }
      return true;
    }
    return false;
  }

 private:
  std::vector<Entry> entries_;
};

}  // namespace framework
