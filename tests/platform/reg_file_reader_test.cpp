#include "platform/simulated/reg_file_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace platform::simulated {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\n";

RegistryTree Read(std::string_view text) {
  RegistryTree tree;
  ApplyRegFile(tree, text, "test.reg");
  return tree;
}

RegistryTree ReadBody(std::string_view body) {
  return Read(std::string(kHeader) + std::string(body));
}

// The refusal message, or "accepted".
std::string Refusal(std::string_view text) {
  try {
    Read(text);
  } catch (const RegFileError& error) {
    return error.what();
  }
  return "accepted";
}

const RegistryValue* Value(const RegistryTree& tree, Hive hive, std::u16string_view path,
                           std::u16string_view name) {
  const RegistryNode* key = tree.Find(hive, path);
  return key ? key->FindValue(name) : nullptr;
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> bytes) {
  std::vector<std::uint8_t> result;
  for (int byte : bytes) result.push_back(static_cast<std::uint8_t>(byte));
  return result;
}

std::string Utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

TEST(RegFileEncodings, BothHeadersAndAllEncodingsGiveTheSameValue) {
  const std::u16string_view body =
      u"\r\n[HKEY_LOCAL_MACHINE\\Software\\A]\r\n\"Name\"=\"Caf\u00e9\"\r\n";
  const std::vector<std::string> files = {
      "Windows Registry Editor Version "
      "5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\A]\n\"Name\"=\"Caf\xC3\xA9\"\n",
      "\xEF\xBB\xBFWindows Registry Editor Version "
      "5.00\n[HKLM\\Software\\A]\n\"Name\"=\"Caf\xC3\xA9\"",
      "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\A]\n\"Name\"=\"Caf\xC3\xA9\"\n",
      Utf16Le(std::u16string(u"Windows Registry Editor Version 5.00") + std::u16string(body)),
  };
  for (const std::string& file : files) {
    const RegistryTree tree = Read(file);
    const RegistryValue* value = Value(tree, Hive::LocalMachine, u"Software\\A", u"Name");
    ASSERT_NE(value, nullptr) << file;
    EXPECT_EQ(value->type, RegType::Sz);
    EXPECT_EQ(StringFromValueData(value->data), u"Caf\u00e9");
    EXPECT_EQ(value->data.size(), 10u) << "UTF-16 with its NUL";
  }
}

TEST(RegFileEncodings, RefusesOtherHeadersAndEncodings) {
  EXPECT_EQ(Refusal("Windows Registry Editor Version 4.00\n"),
            "test.reg:1: not a registry export (expected \"Windows Registry Editor Version "
            "5.00\" or \"REGEDIT4\")");
  EXPECT_EQ(Refusal(""), Refusal("Windows Registry Editor Version 4.00\n"));
  EXPECT_EQ(Refusal("\n" + std::string(kHeader)).substr(0, 11), "test.reg:1:");
  EXPECT_EQ(Refusal("\xFE\xFF\0W"), "test.reg:1: UTF-16 big-endian text is not supported");
  EXPECT_EQ(Refusal(Utf16Le(u"REGEDIT4\n\n") + "x"),
            "test.reg:3: UTF-16 text ends in half a character");
}

TEST(RegFileValues, StringEscapesAndDefaultValue) {
  const RegistryTree tree = ReadBody(
      "[HKEY_CURRENT_USER\\K]\n"
      "\"Path\"=\"C:\\\\Program Files\\\\\\\"x\\\"\"\n"
      "\"Quote \\\"in\\\" name\"=\"\"\n"
      "@=\"default\"\n"
      "  \"Spaced\" = \"around =\"  \n");
  EXPECT_EQ(StringFromValueData(Value(tree, Hive::CurrentUser, u"K", u"Path")->data),
            u"C:\\Program Files\\\"x\"");
  EXPECT_NE(Value(tree, Hive::CurrentUser, u"K", u"Quote \"in\" name"), nullptr);
  EXPECT_EQ(StringFromValueData(Value(tree, Hive::CurrentUser, u"K", u"")->data), u"default");
  EXPECT_EQ(StringFromValueData(Value(tree, Hive::CurrentUser, u"K", u"Spaced")->data),
            u"around =");
}

TEST(RegFileValues, EveryValueKind) {
  const RegistryTree tree = ReadBody(
      "[HKEY_LOCAL_MACHINE\\V]\n"
      "\"Dword\"=dword:0000002a\n"
      "\"ShortDword\"=DWORD:FF\n"
      "\"Binary\"=hex:de,ad,BE,ef\n"
      "\"Empty\"=hex:\n"
      "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\n"
      "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
      "\"Qword\"=hex(b):01,02,03,04,05,06,07,08\n"
      "\"None\"=hex(0):\n"
      "\"Odd\"=hex(12345):7\n");
  const auto value = [&](std::u16string_view name) {
    return Value(tree, Hive::LocalMachine, u"V", name);
  };
  EXPECT_EQ(value(u"Dword")->type, RegType::Dword);
  EXPECT_EQ(value(u"Dword")->data, Bytes({0x2a, 0, 0, 0}));
  EXPECT_EQ(tree.ReadDword(Hive::LocalMachine, u"V", u"ShortDword"), 0xFFu);
  EXPECT_EQ(value(u"Binary")->type, RegType::Binary);
  EXPECT_EQ(value(u"Binary")->data, Bytes({0xde, 0xad, 0xbe, 0xef}));
  EXPECT_TRUE(value(u"Empty")->data.empty());
  EXPECT_EQ(value(u"Expand")->type, RegType::ExpandSz);
  EXPECT_EQ(StringFromValueData(value(u"Expand")->data), u"%A%");
  EXPECT_EQ(value(u"Multi")->type, RegType::MultiSz);
  EXPECT_EQ(value(u"Multi")->data.size(), 10u);
  EXPECT_EQ(value(u"Qword")->type, RegType::Qword);
  EXPECT_EQ(value(u"Qword")->data, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(value(u"None")->type, RegType::None);
  EXPECT_EQ(static_cast<std::uint32_t>(value(u"Odd")->type), 0x12345u);
  EXPECT_EQ(value(u"Odd")->data, Bytes({7}));
}

TEST(RegFileValues, Regedit4TextTypesAreEightBitText) {
  const RegistryTree tree = Read("REGEDIT4\n[HKLM\\V]\n\"M\"=hex(7):61,00,62,00,00\n");
  const RegistryValue* value = Value(tree, Hive::LocalMachine, u"V", u"M");
  EXPECT_EQ(value->data, Bytes({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}));
}

TEST(RegFileValues, ContinuationLinesJoinHexBytes) {
  const RegistryTree tree = ReadBody(
      "[HKLM\\V]\n"
      "\"Multi\"=hex(7):61,00,62,00,\\\n"
      "  63,00,00,00,\\\r\n"
      "\t00,00\n"
      "\"Next\"=dword:1\n");
  EXPECT_EQ(Value(tree, Hive::LocalMachine, u"V", u"Multi")->data,
            Bytes({'a', 0, 'b', 0, 'c', 0, 0, 0, 0, 0}));
  EXPECT_EQ(tree.ReadDword(Hive::LocalMachine, u"V", u"Next"), 1u);
}

TEST(RegFileKeys, HiveNamesAndComments) {
  const RegistryTree tree = ReadBody(
      "; a comment\n"
      "[HKEY_LOCAL_MACHINE\\A]\n  ; indented comment\n"
      "[HKLM\\B]\n[HKEY_CURRENT_USER\\C]\n[HKCU\\D]\n[HKEY_USERS\\E]\n[HKU\\F]\n"
      "[HKEY_CLASSES_ROOT\\G]\n[HKCR\\H]\n[hkey_local_machine]\n\"AtRoot\"=\"x\"\n");
  for (auto [hive, path] : {std::pair{Hive::LocalMachine, u"A"},
                            {Hive::LocalMachine, u"B"},
                            {Hive::CurrentUser, u"C"},
                            {Hive::CurrentUser, u"D"},
                            {Hive::Users, u"E"},
                            {Hive::Users, u"F"},
                            {Hive::ClassesRoot, u"G"},
                            {Hive::ClassesRoot, u"H"}}) {
    EXPECT_NE(tree.Find(hive, path), nullptr) << static_cast<int>(hive);
  }
  EXPECT_NE(tree.Root(Hive::LocalMachine).FindValue(u"ATROOT"), nullptr);
}

TEST(RegFileKeys, NamesAreCaseInsensitiveAndKeepTheirFirstSpelling) {
  const RegistryTree tree = ReadBody(
      "[HKLM\\Software\\Vendor]\n\"Name\"=\"one\"\n"
      "[hklm\\SOFTWARE\\VENDOR]\n\"NAME\"=\"two\"\n");
  const RegistryNode* software = tree.Find(Hive::LocalMachine, u"software");
  ASSERT_EQ(software->SubKeyCount(), 1u);
  EXPECT_EQ(software->SubKeyAt(0)->name(), u"Vendor");
  const std::vector<const RegistryValue*> values = software->SubKeyAt(0)->Values();
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0]->name, u"Name");
  EXPECT_EQ(StringFromValueData(values[0]->data), u"two");
}

TEST(RegFileKeys, SubkeysEnumerateInRegistryOrder) {
  const RegistryTree tree = ReadBody("[HKLM\\P\\beta]\n[HKLM\\P\\Alpha]\n[HKLM\\P\\gamma]\n");
  const RegistryNode* parent = tree.Find(Hive::LocalMachine, u"P");
  ASSERT_EQ(parent->SubKeyCount(), 3u);
  EXPECT_EQ(parent->SubKeyAt(0)->name(), u"Alpha");
  EXPECT_EQ(parent->SubKeyAt(1)->name(), u"beta");
  EXPECT_EQ(parent->SubKeyAt(2)->name(), u"gamma");
  EXPECT_EQ(parent->SubKeyAt(3), nullptr);
}

TEST(RegFileDeletions, KeysAndValuesAreDeleted) {
  const RegistryTree tree = ReadBody(
      "[HKLM\\Keep\\Gone\\Child]\n\"x\"=\"1\"\n"
      "[HKLM\\Keep]\n\"Stays\"=\"1\"\n\"Goes\"=\"1\"\n\"goes\"=-\n\"Absent\"=-\n"
      "[-HKLM\\Keep\\GONE]\n"
      "[-HKLM\\Never\\Was]\n"
      "[HKLM\\Reborn]\n\"v\"=\"1\"\n[-HKLM\\Reborn]\n[HKLM\\Reborn]\n");
  EXPECT_EQ(tree.Find(Hive::LocalMachine, u"Keep\\Gone"), nullptr);
  EXPECT_EQ(tree.Find(Hive::LocalMachine, u"Keep\\Gone\\Child"), nullptr);
  EXPECT_NE(Value(tree, Hive::LocalMachine, u"Keep", u"Stays"), nullptr);
  EXPECT_EQ(Value(tree, Hive::LocalMachine, u"Keep", u"Goes"), nullptr);
  EXPECT_EQ(tree.Find(Hive::LocalMachine, u"Never"), nullptr);
  ASSERT_NE(tree.Find(Hive::LocalMachine, u"Reborn"), nullptr);
  EXPECT_TRUE(tree.Find(Hive::LocalMachine, u"Reborn")->Values().empty());
}

TEST(RegFileDeletions, ApplyingOverAnExistingTreeChangesIt) {
  RegistryTree tree = ReadBody("[HKLM\\A]\n\"v\"=\"1\"\n[HKLM\\B]\n");
  ApplyRegFile(tree, std::string(kHeader) + "[-HKLM\\A]\n[HKLM\\B]\n\"w\"=dword:2\n", "more.reg");
  EXPECT_EQ(tree.Find(Hive::LocalMachine, u"A"), nullptr);
  EXPECT_EQ(tree.ReadDword(Hive::LocalMachine, u"B", u"w"), 2u);
}

struct Malformed {
  const char* body;  // after the header line
  const char* error;
};

class RegFileRefusal : public testing::TestWithParam<Malformed> {};

TEST_P(RegFileRefusal, NamesFileLineAndFault) {
  EXPECT_EQ(Refusal(std::string(kHeader) + GetParam().body), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RegFileRefusal,
    testing::Values(
        Malformed{"[HKLM\\A", "test.reg:2: key line does not end with ']'"},
        Malformed{"\n[HKEY_LOCAL\\A]",
                  "test.reg:3: unknown hive (expected HKEY_LOCAL_MACHINE, ...)"},
        Malformed{"[]", "test.reg:2: unknown hive (expected HKEY_LOCAL_MACHINE, ...)"},
        Malformed{"[HKLM\\A\\\\B]", "test.reg:2: empty key name in the path"},
        Malformed{"[HKLM\\]", "test.reg:2: empty key name in the path"},
        Malformed{"[-HKLM]", "test.reg:2: a hive cannot be deleted"},
        Malformed{"\"v\"=\"1\"", "test.reg:2: value outside a key"},
        Malformed{"[-HKLM\\A]\n\"v\"=\"1\"", "test.reg:3: value under a deleted key"},
        Malformed{"[HKLM\\A]\n\"v\" \"1\"", "test.reg:3: expected '=' after the value name"},
        Malformed{"[HKLM\\A]\n@", "test.reg:3: expected '=' after the value name"},
        Malformed{"[HKLM\\A]\n\"v=\"1\"", "test.reg:3: expected '=' after the value name"},
        Malformed{"[HKLM\\A]\n\"v\"=\"1", "test.reg:3: unterminated quoted text"},
        Malformed{"[HKLM\\A]\n\"v\"=\"1\\", "test.reg:3: unterminated quoted text"},
        Malformed{"[HKLM\\A]\n\"v\"=\"C:\\Windows\"",
                  "test.reg:3: unknown escape (only \\\\ and \\\")"},
        Malformed{"[HKLM\\A]\n\"v\"=\"1\" x", "test.reg:3: unexpected text after the value"},
        Malformed{"[HKLM\\A]\n\"v\"=dword:123456789", "test.reg:3: dword: needs 1 to 8 hex digits"},
        Malformed{"[HKLM\\A]\n\"v\"=dword:", "test.reg:3: dword: needs 1 to 8 hex digits"},
        Malformed{"[HKLM\\A]\n\"v\"=dword:1g", "test.reg:3: dword: needs 1 to 8 hex digits"},
        Malformed{"[HKLM\\A]\n\"v\"=hex:0g", "test.reg:3: expected ',' between hex bytes"},
        Malformed{"[HKLM\\A]\n\"v\"=hex:01 02", "test.reg:3: expected ',' between hex bytes"},
        Malformed{"[HKLM\\A]\n\"v\"=hex:01,,02", "test.reg:3: expected a hex byte"},
        Malformed{"[HKLM\\A]\n\"v\"=hex:123", "test.reg:3: expected ',' between hex bytes"},
        Malformed{"[HKLM\\A]\n\"v\"=hex(zz):00", "test.reg:3: hex(type) needs 1 to 8 hex digits"},
        Malformed{"[HKLM\\A]\n\"v\"=hex(2:00", "test.reg:3: expected hex(type):"},
        Malformed{"[HKLM\\A]\n\"v\"=hex(2)00", "test.reg:3: expected hex(type):"},
        Malformed{"[HKLM\\A]\n\"v\"=qword:1",
                  "test.reg:3: unknown value kind (expected \"text\", dword:, hex:, hex(N): or -)"},
        Malformed{"[HKLM\\A]\n\"v\"=",
                  "test.reg:3: unknown value kind (expected \"text\", "
                  "dword:, hex:, hex(N): or -)"},
        Malformed{"[HKLM\\A]\n\"v\"=hex:01,\\", "test.reg:3: continuation at the end of the file"},
        Malformed{"[HKLM\\A]\n\"v\"=hex:01,\\\n 02,\\\n 0x",
                  "test.reg:5: expected ',' between hex bytes"},
        Malformed{"[HKLM\\A]\n\"v\"=hex:01\\\n02",
                  "test.reg:3: a continued hex line must end with \",\\\""},
        Malformed{"[HKLM\\A]\nv=\"1\"",
                  "test.reg:3: expected a [key], a \"value\"=, @= or a ; comment"}));

TEST(RegFileRefusal, OverlongKeyNamesAndDeepPathsAreRefused) {
  EXPECT_EQ(Refusal(std::string(kHeader) + "[HKLM\\" + std::string(256, 'k') + "]"),
            "test.reg:2: key name longer than 255 characters");
  std::string deep = "[HKLM";
  for (int i = 0; i < 513; ++i) deep += "\\k";
  EXPECT_EQ(Refusal(std::string(kHeader) + deep + "]"), "test.reg:2: key path nested too deeply");
}

TEST(RegFileRefusal, RefusedFileLeavesTheTreeUnchanged) {
  RegistryTree tree = ReadBody("[HKLM\\A]\n\"v\"=\"1\"\n");
  EXPECT_THROW(
      ApplyRegFile(tree, std::string(kHeader) + "[-HKLM\\A]\n[HKLM\\B]\n\"v\"=bad\n", "bad.reg"),
      RegFileError);
  EXPECT_NE(Value(tree, Hive::LocalMachine, u"A", u"v"), nullptr);
  EXPECT_EQ(tree.Find(Hive::LocalMachine, u"B"), nullptr);
}

TEST(RegFileRefusal, UnreadableFileNamesThePath) {
  try {
    ReadRegFile("/nonexistent/machine.reg");
    FAIL() << "read a missing file";
  } catch (const RegFileError& error) {
    EXPECT_STREQ(error.what(), "/nonexistent/machine.reg: cannot read the file");
  }
}

// Random bytes around valid fragments: every input is read or refused, never
// more (the sanitizer build and the fuzzer look for the rest).
TEST(RegFileRefusal, GarbageIsRefusedWithoutHarm) {
  const std::vector<std::string> fragments = {std::string(kHeader),
                                              "[HKLM\\A]\n",
                                              "\"v\"=",
                                              "hex(7):",
                                              "00,",
                                              "\\\n",
                                              "\"",
                                              "\\\\",
                                              "dword:",
                                              "[-",
                                              "]",
                                              "@=",
                                              "\n",
                                              "\xFF\xFE",
                                              "\xC3",
                                              "=-\n",
                                              ";",
                                              "\r\n",
                                              "\0"};
  std::mt19937 random(20240531);
  for (int round = 0; round < 3000; ++round) {
    std::string text = round % 2 ? std::string(kHeader) : std::string();
    const int pieces = static_cast<int>(random() % 12);
    for (int i = 0; i < pieces; ++i) {
      if (random() % 3 == 0) {
        text.push_back(static_cast<char>(random() % 256));
      } else {
        text += fragments[random() % fragments.size()];
      }
    }
    try {
      Read(text);
    } catch (const RegFileError& error) {
      EXPECT_EQ(std::string(error.what()).rfind("test.reg:", 0), 0u) << error.what();
    }
  }
}

// Inputs the fuzzer once found troublesome stay in the regular run.
TEST(RegFileRefusal, FuzzerRegressionInputs) {
  const char* source = std::getenv("VX5PRCFG_SOURCE_DIR");
  if (source == nullptr) GTEST_SKIP() << "VX5PRCFG_SOURCE_DIR not set";
  const std::filesystem::path folder = std::filesystem::path(source) / "tests/fuzz/reg_regressions";
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no regression inputs";
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream file(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    try {
      Read(bytes);
    } catch (const RegFileError&) {
    }
  }
}

}  // namespace
}  // namespace platform::simulated
