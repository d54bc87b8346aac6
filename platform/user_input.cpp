#include "platform/user_input.h"

#include <algorithm>
#include <tuple>

#include "platform/window_constants.h"

namespace platform {
namespace {

constexpr std::uint16_t kNone = 0;

// The fields a picker compares: a date picker's calendar knows only days.
auto Fields(const SystemTime& t, bool timePicker) {
  return timePicker ? std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds)
                    : std::tuple(t.year, t.month, t.day, kNone, kNone, kNone, kNone);
}

}  // namespace

SystemTime PickedMoment(const SystemTime& current, const SystemTime& picked, bool timePicker) {
  SystemTime next = current;
  if (timePicker) {
    next.hour = picked.hour;
    next.minute = picked.minute;
  } else {
    next.year = picked.year;
    next.month = picked.month;
    next.day = picked.day;
    next.dayOfWeek = picked.dayOfWeek;
  }
  return next;
}

bool InPickerRange(const SystemTime& time, const std::optional<SystemTime>& minimum,
                   const std::optional<SystemTime>& maximum, bool timePicker) {
  if (minimum && Fields(time, timePicker) < Fields(*minimum, timePicker)) return false;
  if (maximum && Fields(*maximum, timePicker) < Fields(time, timePicker)) return false;
  return true;
}

std::optional<std::vector<ScrollNotification>> UserScroll(int code, int position,
                                                          bool lineUpEnabled, bool lineDownEnabled,
                                                          int minimum, int maximum) {
  using namespace window;
  if (!lineUpEnabled && !lineDownEnabled) return std::nullopt;
  std::vector<ScrollNotification> sent;
  switch (code) {
    case kSbLineUp:
      if (!lineUpEnabled) return std::nullopt;
      sent.push_back({code, 0});
      break;
    case kSbLineDown:
      if (!lineDownEnabled) return std::nullopt;
      sent.push_back({code, 0});
      break;
    case kSbPageUp:
    case kSbPageDown:
      sent.push_back({code, 0});
      break;
    case kSbThumbTrack:
    case kSbThumbPosition: {
      const int at = std::clamp(position, minimum, std::max(minimum, maximum));
      sent.push_back({kSbThumbTrack, at});
      sent.push_back({kSbThumbPosition, at});
      break;
    }
    default:
      return std::nullopt;
  }
  sent.push_back({kSbEndScroll, 0});
  return sent;
}

}  // namespace platform
