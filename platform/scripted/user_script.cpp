#include "platform/scripted/user_script.h"

#include <charconv>
#include <chrono>
#include <optional>

#include "platform/machine.h"

namespace platform::scripted {
namespace {

using Kind = UserAction::Kind;

constexpr int kScrollLineUp = 0;
constexpr int kScrollLineDown = 1;
constexpr int kScrollPageUp = 2;
constexpr int kScrollPageDown = 3;
constexpr int kScrollThumbTrack = 5;

struct ScrollWord {
  std::string_view word;
  int code;
};
constexpr ScrollWord kScrollWords[] = {{"lineup", kScrollLineUp},
                                       {"linedown", kScrollLineDown},
                                       {"pageup", kScrollPageUp},
                                       {"pagedown", kScrollPageDown},
                                       {"thumb", kScrollThumbTrack}};

// The statements that take only a control, and those that take nothing.
struct Command {
  std::string_view word;
  Kind kind;
};
constexpr Command kControlCommands[] = {{"clear", Kind::Clear}, {"click", Kind::Click}};
constexpr Command kBareCommands[] = {
    {"enter", Kind::Enter}, {"escape", Kind::Escape}, {"close", Kind::Close}, {"dump", Kind::Dump}};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

struct RawStatement {
  std::string text;
  std::vector<std::string> words;
};

[[noreturn]] void Refuse(std::size_t number, std::string_view statement, std::string_view why) {
  throw UserScriptError("user script: statement " + std::to_string(number) + " \"" +
                        std::string(statement) + "\": " + std::string(why));
}

// Cuts the script into statements and each statement into words; quotes
// keep blanks, ";" and line breaks inside a word.
std::vector<RawStatement> Split(std::string_view script) {
  std::vector<RawStatement> statements;
  RawStatement current;
  std::optional<std::string> word;
  bool inQuotes = false;
  auto endWord = [&] {
    if (word) current.words.push_back(std::move(*word));
    word.reset();
  };
  auto endStatement = [&] {
    endWord();
    const std::size_t first = current.text.find_first_not_of(" \t\r");
    current.text = first == std::string::npos ? std::string() : current.text.substr(first);
    while (!current.text.empty() && IsBlank(current.text.back())) current.text.pop_back();
    const bool comment = !current.text.empty() && current.text.front() == '#';
    if (!current.words.empty() && !comment) statements.push_back(std::move(current));
    current = RawStatement();
  };
  for (std::size_t i = 0; i < script.size(); ++i) {
    const char c = script[i];
    if (inQuotes) {
      current.text.push_back(c);
      if (c == '\\' && i + 1 < script.size() && (script[i + 1] == '"' || script[i + 1] == '\\')) {
        word->push_back(script[++i]);
        current.text.push_back(script[i]);
      } else if (c == '"') {
        inQuotes = false;
      } else {
        word->push_back(c);
      }
      continue;
    }
    if (c == ';' || c == '\n') {
      endStatement();
      continue;
    }
    current.text.push_back(c);
    if (IsBlank(c)) {
      endWord();
    } else if (c == '"' && !word) {
      word.emplace();
      inQuotes = true;
    } else {
      if (!word) word.emplace();
      word->push_back(c);
    }
  }
  if (inQuotes) {
    const std::size_t first = current.text.find_first_not_of(" \t\r");
    Refuse(statements.size() + 1, current.text.substr(first), "the quote is not closed");
  }
  endStatement();
  return statements;
}

std::optional<int> ParseInt(std::string_view word) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::optional<SystemTime> ParseMoment(std::string_view date, std::string_view time) {
  if (date.size() != 10 || date[4] != '-' || date[7] != '-' || time.size() != 5 || time[2] != ':')
    return std::nullopt;
  const auto year = ParseInt(date.substr(0, 4));
  const auto month = ParseInt(date.substr(5, 2));
  const auto day = ParseInt(date.substr(8, 2));
  const auto hour = ParseInt(time.substr(0, 2));
  const auto minute = ParseInt(time.substr(3, 2));
  if (!year || !month || !day || !hour || !minute) return std::nullopt;
  const std::chrono::year_month_day calendar{std::chrono::year(*year),
                                             std::chrono::month(static_cast<unsigned>(*month)),
                                             std::chrono::day(static_cast<unsigned>(*day))};
  if (!calendar.ok() || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59) return std::nullopt;
  SystemTime moment;
  moment.year = static_cast<std::uint16_t>(*year);
  moment.month = static_cast<std::uint16_t>(*month);
  moment.day = static_cast<std::uint16_t>(*day);
  moment.dayOfWeek = static_cast<std::uint16_t>(
      std::chrono::weekday(std::chrono::sys_days(calendar)).c_encoding());
  moment.hour = static_cast<std::uint16_t>(*hour);
  moment.minute = static_cast<std::uint16_t>(*minute);
  return moment;
}

// The number of UTF-8 code points in `text` (invalid bytes count one each).
std::size_t CountCharacters(std::string_view text) {
  std::size_t count = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++count;
  }
  return count;
}

class StatementParser {
 public:
  StatementParser(std::size_t number, const RawStatement& raw) : number_(number), raw_(raw) {}

  ScriptStatement Parse() {
    ScriptStatement statement;
    statement.source = raw_.text;
    const std::string& word = raw_.words[0];
    UserAction& action = statement.action;

    if (word == "dialog") {
      Expect(2, "dialog ID");
      statement.kind = ScriptStatement::Kind::Dialog;
      statement.dialogId = Number(1, "template id");
      return statement;
    }
    for (const Command& command : kBareCommands) {
      if (word == command.word) {
        Expect(1, command.word);
        action.kind = command.kind;
        return statement;
      }
    }
    for (const Command& command : kControlCommands) {
      if (word == command.word) {
        Expect(2, std::string(command.word) + " CTL");
        action.kind = command.kind;
        action.control = Number(1, "control id");
        return statement;
      }
    }
    if (word == "type" || word == "paste") {
      Expect(3, word + " CTL TEXT (quote a TEXT that holds blanks or \";\")");
      action.kind = word == "type" ? Kind::Type : Kind::Paste;
      action.control = Number(1, "control id");
      action.text = raw_.words[2];
    } else if (word == "select") {
      Expect(3, "select CTL INDEX");
      action.kind = Kind::Select;
      action.control = Number(1, "control id");
      action.index = Number(2, "item index");
    } else if (word == "check") {
      Expect(3, "check CTL 0|1");
      action.kind = Kind::Check;
      action.control = Number(1, "control id");
      action.index = Number(2, "check state");
      if (action.index != 0 && action.index != 1) Fail("the check state must be 0 or 1");
    } else if (word == "scroll") {
      ParseScroll(action);
    } else if (word == "pick") {
      Expect(4, "pick CTL YYYY-MM-DD HH:MM");
      action.kind = Kind::Pick;
      action.control = Number(1, "control id");
      const auto moment = ParseMoment(raw_.words[2], raw_.words[3]);
      if (!moment) Fail("not a valid moment: " + raw_.words[2] + " " + raw_.words[3]);
      action.time = *moment;
    } else if (word == "key") {
      Expect(2, "key CHAR");
      action.kind = Kind::Key;
      action.text = raw_.words[1];
      if (CountCharacters(action.text) != 1) Fail("key takes exactly one character");
    } else {
      Fail("unknown statement \"" + word + "\"");
    }
    return statement;
  }

 private:
  void ParseScroll(UserAction& action) {
    if (raw_.words.size() < 3)
      Fail("expected scroll CTL lineup|linedown|pageup|pagedown|thumb POS");
    action.kind = Kind::Scroll;
    action.control = Number(1, "control id");
    for (const ScrollWord& scroll : kScrollWords) {
      if (raw_.words[2] != scroll.word) continue;
      action.scrollCode = scroll.code;
      if (scroll.code == kScrollThumbTrack) {
        Expect(4, "scroll CTL thumb POS");
        action.index = Number(3, "thumb position");
      } else {
        Expect(3, "scroll CTL " + std::string(scroll.word));
      }
      return;
    }
    Fail("unknown scroll \"" + raw_.words[2] + "\"");
  }

  void Expect(std::size_t words, std::string_view form) {
    if (raw_.words.size() != words) Fail("expected " + std::string(form));
  }

  int Number(std::size_t index, std::string_view what) {
    const auto value = ParseInt(raw_.words[index]);
    if (!value)
      Fail("the " + std::string(what) + " must be a number, not \"" + raw_.words[index] + "\"");
    return *value;
  }

  [[noreturn]] void Fail(const std::string& why) { Refuse(number_, raw_.text, why); }

  std::size_t number_;
  const RawStatement& raw_;
};

}  // namespace

std::vector<ScriptStatement> ParseUserScript(std::string_view script) {
  std::vector<ScriptStatement> statements;
  std::size_t number = 0;
  for (const RawStatement& raw : Split(script)) {
    statements.push_back(StatementParser(++number, raw).Parse());
  }
  return statements;
}

UserAction ToAnsiAction(const UserAction& action, std::uint32_t codePage) {
  UserAction converted = action;
  converted.text.clear();
  if (action.text.empty()) return converted;
  Kernel& kernel = CurrentMachine().kernel();
  const int units = kernel.AnsiToWide(kCodePageUtf8, action.text, nullptr, 0);
  if (units <= 0) return converted;
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  kernel.AnsiToWide(kCodePageUtf8, action.text, wide.data(), units);
  const int bytes = kernel.WideToAnsi(codePage, wide, nullptr, 0);
  if (bytes <= 0) return converted;
  converted.text.assign(static_cast<std::size_t>(bytes), '\0');
  kernel.WideToAnsi(codePage, wide, converted.text.data(), bytes);
  return converted;
}

}  // namespace platform::scripted
