#include "platform/simulated/reg_file_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/simulated/code_pages.h"

namespace platform::simulated {
namespace {

constexpr std::u16string_view kHeaderVersion5 = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kHeaderVersion4 = u"REGEDIT4";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
// Windows refuses keys nested deeper than this; it also bounds our own depth.
constexpr std::size_t kMaxKeyDepth = 512;
constexpr std::size_t kMaxTypeDigits = 8;
constexpr std::size_t kMaxDwordDigits = 8;
constexpr std::size_t kMaxByteDigits = 2;

struct HiveName {
  std::u16string_view name;
  Hive hive;
};

constexpr HiveName kHiveNames[] = {
    {u"HKEY_LOCAL_MACHINE", Hive::LocalMachine},
    {u"HKLM", Hive::LocalMachine},
    {u"HKEY_CURRENT_USER", Hive::CurrentUser},
    {u"HKCU", Hive::CurrentUser},
    {u"HKEY_USERS", Hive::Users},
    {u"HKU", Hive::Users},
    {u"HKEY_CLASSES_ROOT", Hive::ClassesRoot},
    {u"HKCR", Hive::ClassesRoot},
};

// A key path is kept once and shared by the operations of its section: a
// copy per value line would make memory grow with lines times path length.
using KeyPath = std::shared_ptr<const std::vector<std::u16string>>;

struct Operation {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind;
  Hive hive;
  KeyPath path;
  RegistryValue value;
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view TrimLeft(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::u16string_view TrimRight(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Parses all of `digits` as 1..maxDigits hex digits.
std::optional<std::uint32_t> ParseHexNumber(std::u16string_view digits, std::size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  std::uint32_t number = 0;
  for (char16_t c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    number = number * 16 + static_cast<std::uint32_t>(digit);
  }
  return number;
}

std::u16string DecodeText(std::string_view bytes, std::string_view source) {
  if (bytes.starts_with(kUtf16LeBom)) {
    bytes.remove_prefix(kUtf16LeBom.size());
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    if (bytes.size() % 2 != 0) {
      const auto lastLine = std::count(text.begin(), text.end(), u'\n') + 1;
      throw RegFileError(std::string(source) + ':' + std::to_string(lastLine) +
                         ": UTF-16 text ends in half a character");
    }
    return text;
  }
  if (bytes.starts_with(kUtf16BeBom)) {
    throw RegFileError(std::string(source) + ":1: UTF-16 big-endian text is not supported");
  }
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  return Utf8ToUtf16(bytes);
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::vector<std::uint8_t> LittleEndianBytes(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

bool IsTextType(RegType type) {
  return type == RegType::Sz || type == RegType::ExpandSz || type == RegType::MultiSz;
}

class Parser {
 public:
  Parser(std::string_view source, std::vector<std::u16string_view> lines)
      : source_(source), lines_(std::move(lines)) {}

  std::vector<Operation> Run() {
    ReadHeader();
    for (index_ = 1; index_ < lines_.size(); ++index_) {
      const std::u16string_view line = TrimRight(TrimLeft(lines_[index_]));
      if (line.empty() || line.front() == u';') continue;
      if (line.front() == u'[') {
        ReadKeyLine(line);
      } else if (line.front() == u'"' || line.front() == u'@') {
        ReadValueLine(line);
      } else {
        Fail(index_, "expected a [key], a \"value\"=, @= or a ; comment");
      }
    }
    return std::move(operations_);
  }

 private:
  enum class Section { None, Key, DeletedKey };

  [[noreturn]] void Fail(std::size_t index, std::string_view what) const {
    std::ostringstream message;
    message << source_ << ':' << index + 1 << ": " << what;
    throw RegFileError(message.str());
  }

  void ReadHeader() {
    const std::u16string_view header = TrimRight(lines_.front());
    if (header == kHeaderVersion5) {
      version4_ = false;
    } else if (header == kHeaderVersion4) {
      version4_ = true;
    } else {
      Fail(0,
           "not a registry export (expected \"Windows Registry Editor Version 5.00\" or "
           "\"REGEDIT4\")");
    }
  }

  void ReadKeyLine(std::u16string_view line) {
    if (line.back() != u']') Fail(index_, "key line does not end with ']'");
    std::u16string_view path = line.substr(1, line.size() - 2);
    const bool deletion = !path.empty() && path.front() == u'-';
    if (deletion) path.remove_prefix(1);

    const std::size_t slash = path.find(u'\\');
    const std::u16string_view hiveName = path.substr(0, slash);
    const HiveName* hive = nullptr;
    for (const HiveName& candidate : kHiveNames) {
      if (EqualsIgnoringCase(candidate.name, hiveName)) hive = &candidate;
    }
    if (hive == nullptr) Fail(index_, "unknown hive (expected HKEY_LOCAL_MACHINE, ...)");

    std::vector<std::u16string> parts;
    if (slash != std::u16string_view::npos) {
      const auto split = SplitKeyPath(path.substr(slash + 1));
      if (!split || split->empty()) Fail(index_, "empty key name in the path");
      if (split->size() > kMaxKeyDepth) Fail(index_, "key path nested too deeply");
      for (std::u16string_view part : *split) {
        if (part.size() > kMaxKeyNameLength) Fail(index_, "key name longer than 255 characters");
        parts.emplace_back(part);
      }
    }
    if (deletion && parts.empty()) Fail(index_, "a hive cannot be deleted");

    hive_ = hive->hive;
    path_ = std::make_shared<const std::vector<std::u16string>>(std::move(parts));
    section_ = deletion ? Section::DeletedKey : Section::Key;
    operations_.push_back(
        {deletion ? Operation::Kind::DeleteKey : Operation::Kind::CreateKey, hive_, path_, {}});
  }

  // A quoted name or text starting at line[pos] == '"'; `pos` ends past the
  // closing quote.
  std::u16string ReadQuoted(std::u16string_view line, std::size_t& pos) const {
    std::u16string text;
    for (++pos; pos < line.size(); ++pos) {
      const char16_t c = line[pos];
      if (c == u'"') {
        ++pos;
        return text;
      }
      if (c == u'\\') {
        if (pos + 1 >= line.size()) break;
        const char16_t escaped = line[++pos];
        if (escaped != u'\\' && escaped != u'"')
          Fail(index_, "unknown escape (only \\\\ and \\\")");
        text.push_back(escaped);
      } else {
        text.push_back(c);
      }
    }
    Fail(index_, "unterminated quoted text");
  }

  void ReadValueLine(std::u16string_view line) {
    if (section_ == Section::None) Fail(index_, "value outside a key");
    if (section_ == Section::DeletedKey) Fail(index_, "value under a deleted key");

    RegistryValue value;
    std::size_t pos = 0;
    if (line.front() == u'@') {
      pos = 1;
    } else {
      value.name = ReadQuoted(line, pos);
    }
    std::u16string_view rest = TrimLeft(line.substr(pos));
    if (rest.empty() || rest.front() != u'=') Fail(index_, "expected '=' after the value name");
    rest = TrimLeft(rest.substr(1));

    if (rest == u"-") {
      operations_.push_back({Operation::Kind::DeleteValue, hive_, path_, std::move(value)});
      return;
    }
    if (!rest.empty() && rest.front() == u'"') {
      std::size_t end = 0;
      const std::u16string text = ReadQuoted(rest, end);
      if (!TrimLeft(rest.substr(end)).empty()) Fail(index_, "unexpected text after the value");
      value.type = RegType::Sz;
      value.data = StringValueData(text);
    } else if (StartsWithIgnoringCase(rest, u"dword:")) {
      const auto number = ParseHexNumber(rest.substr(6), kMaxDwordDigits);
      if (!number) Fail(index_, "dword: needs 1 to 8 hex digits");
      value.type = RegType::Dword;
      for (int shift = 0; shift < 32; shift += 8) {
        value.data.push_back(static_cast<std::uint8_t>(*number >> shift));
      }
    } else if (StartsWithIgnoringCase(rest, u"hex:")) {
      value.type = RegType::Binary;
      value.data = ReadHexBytes(rest.substr(4));
    } else if (StartsWithIgnoringCase(rest, u"hex(")) {
      const std::size_t close = rest.find(u')');
      if (close == std::u16string_view::npos || close + 1 >= rest.size() ||
          rest[close + 1] != u':') {
        Fail(index_, "expected hex(type):");
      }
      const auto type = ParseHexNumber(rest.substr(4, close - 4), kMaxTypeDigits);
      if (!type) Fail(index_, "hex(type) needs 1 to 8 hex digits");
      value.type = static_cast<RegType>(*type);
      value.data = ReadHexBytes(rest.substr(close + 2));
      // REGEDIT4 wrote text types in 8-bit characters; keep them as Windows
      // stores them, in UTF-16.
      if (version4_ && IsTextType(value.type)) {
        value.data =
            LittleEndianBytes(Utf8ToUtf16(std::string(value.data.begin(), value.data.end())));
      }
    } else {
      Fail(index_, "unknown value kind (expected \"text\", dword:, hex:, hex(N): or -)");
    }
    operations_.push_back({Operation::Kind::SetValue, hive_, path_, std::move(value)});
  }

  // Comma-separated hex bytes; a trailing backslash continues the list on the
  // next line. Leaves index_ on the last line read.
  std::vector<std::uint8_t> ReadHexBytes(std::u16string_view first) {
    std::vector<std::uint8_t> bytes;
    std::u16string_view text = TrimRight(first);
    while (true) {
      const bool continues = !text.empty() && text.back() == u'\\';
      if (continues) text = TrimRight(text.substr(0, text.size() - 1));
      ReadHexByteList(text, bytes, continues);
      if (!continues) return bytes;
      if (index_ + 1 >= lines_.size()) Fail(index_, "continuation at the end of the file");
      text = TrimRight(TrimLeft(lines_[++index_]));
    }
  }

  // One line's share of a byte list. A line that continues must end in ','.
  void ReadHexByteList(std::u16string_view text, std::vector<std::uint8_t>& bytes,
                       bool continues) const {
    std::size_t pos = 0;
    bool expectByte = false;  // after a ',' a further byte may follow
    while (true) {
      while (pos < text.size() && IsBlank(text[pos])) ++pos;
      if (pos == text.size()) break;
      std::size_t digits = 0;
      int byte = 0;
      while (pos < text.size() && digits < kMaxByteDigits && HexDigit(text[pos]) >= 0) {
        byte = byte * 16 + HexDigit(text[pos++]);
        ++digits;
      }
      if (digits == 0) Fail(index_, "expected a hex byte");
      bytes.push_back(static_cast<std::uint8_t>(byte));
      expectByte = false;
      while (pos < text.size() && IsBlank(text[pos])) ++pos;
      if (pos == text.size()) break;
      if (text[pos] != u',') Fail(index_, "expected ',' between hex bytes");
      ++pos;
      expectByte = true;
    }
    if (continues && !expectByte && !text.empty()) {
      Fail(index_, "a continued hex line must end with \",\\\"");
    }
  }

  std::string source_;
  std::vector<std::u16string_view> lines_;
  std::size_t index_ = 0;
  bool version4_ = false;
  Section section_ = Section::None;
  Hive hive_ = Hive::LocalMachine;
  KeyPath path_;
  std::vector<Operation> operations_;
};

RegistryNode& CreatePath(RegistryTree& tree, Hive hive, const std::vector<std::u16string>& path) {
  RegistryNode* node = &tree.Root(hive);
  for (const std::u16string& part : path) node = &node->CreateSubKey(part);
  return *node;
}

void Apply(RegistryTree& tree, std::vector<Operation>& operations) {
  // The node of the section being applied: its lines share one path, so it is
  // found once. A deleted key may take it away, so a deletion forgets it.
  const std::vector<std::u16string>* sectionPath = nullptr;
  RegistryNode* sectionNode = nullptr;
  const auto nodeOf = [&](const Operation& operation) -> RegistryNode& {
    if (operation.path.get() != sectionPath) {
      sectionNode = &CreatePath(tree, operation.hive, *operation.path);
      sectionPath = operation.path.get();
    }
    return *sectionNode;
  };
  for (Operation& operation : operations) {
    switch (operation.kind) {
      case Operation::Kind::CreateKey:
        nodeOf(operation);
        break;
      case Operation::Kind::DeleteKey: {
        sectionPath = nullptr;
        sectionNode = nullptr;
        const std::vector<std::u16string>& path = *operation.path;
        RegistryNode* parent = &tree.Root(operation.hive);
        for (std::size_t i = 0; parent != nullptr && i + 1 < path.size(); ++i) {
          parent = parent->FindSubKey(path[i]);
        }
        if (parent != nullptr) parent->DeleteSubKey(path.back());
        break;
      }
      case Operation::Kind::SetValue:
        nodeOf(operation).SetValue(std::move(operation.value));
        break;
      case Operation::Kind::DeleteValue:
        nodeOf(operation).DeleteValue(operation.value.name);
        break;
    }
  }
}

}  // namespace

void ApplyRegFile(RegistryTree& tree, std::string_view bytes, std::string_view source) {
  const std::u16string text = DecodeText(bytes, source);
  Parser parser(source, SplitLines(text));
  std::vector<Operation> operations = parser.Run();
  Apply(tree, operations);
}

RegistryTree ReadRegFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw RegFileError(path + ": cannot read the file");
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw RegFileError(path + ": cannot read the file");
  RegistryTree tree;
  ApplyRegFile(tree, bytes, path);
  return tree;
}

}  // namespace platform::simulated
