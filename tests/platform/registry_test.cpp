#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/simulated/simulated_machine.h"

namespace platform::simulated {
namespace {

class RegistryQuery : public testing::Test {
 protected:
  void SetUp() override {
    machine_ = SimulatedMachine::FromRegistryLines(
        "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:000004e4\n"
        "[HKLM\\Software\\Test]\n"
        "\"Text\"=\"Caf\xC3\xA9\"\n"
        "\"Greek\"=\"\xCE\xA9\"\n"
        "\"Empty\"=\"\"\n"
        "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\n"
        "\"Multi\"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00\n"
        "\"Dword\"=dword:01020304\n"
        "\"Binary\"=hex:00,ff,10\n"
        "[HKLM\\Software\\Test\\beta]\n[HKLM\\Software\\Test\\Alpha]\n"
        "[HKLM\\Software\\Test\\A Long Subkey Name]\n");
    key_ = machine_->registry().OpenKey(Hive::LocalMachine, "SOFTWARE\\TEST");
    ASSERT_NE(key_, nullptr);
  }

  // The value's bytes, read with a buffer of exactly the size asked first.
  std::string Read(std::string_view name, RegType* type = nullptr) {
    std::uint32_t size = 0;
    EXPECT_EQ(key_->QueryValue(name, type, nullptr, &size), kErrorSuccess);
    std::string data(size, '\x7f');
    EXPECT_EQ(key_->QueryValue(name, type, data.data(), &size), kErrorSuccess);
    EXPECT_EQ(size, data.size());
    return data;
  }

  std::unique_ptr<SimulatedMachine> machine_;
  std::unique_ptr<RegistryKey> key_;
};

TEST_F(RegistryQuery, TextsComeInTheAnsiCodePageWithTheirNul) {
  RegType type = RegType::None;
  EXPECT_EQ(Read("Text", &type), std::string("Caf\xE9\0", 5));
  EXPECT_EQ(type, RegType::Sz);
  EXPECT_EQ(Read("Greek"), std::string("?\0", 2)) << "Windows-1252 has no omega";
  EXPECT_EQ(Read("Empty"), std::string("\0", 1));
  EXPECT_EQ(Read("Expand", &type), std::string("%A%\0", 4));
  EXPECT_EQ(type, RegType::ExpandSz);
  EXPECT_EQ(Read("Multi", &type), std::string("a\0bc\0\0", 6));
  EXPECT_EQ(type, RegType::MultiSz);
}

TEST_F(RegistryQuery, OtherKindsComeAsStored) {
  RegType type = RegType::None;
  EXPECT_EQ(Read("Dword", &type), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(type, RegType::Dword);
  EXPECT_EQ(Read("Binary", &type), std::string("\x00\xff\x10", 3));
  EXPECT_EQ(type, RegType::Binary);
}

TEST_F(RegistryQuery, SizeRulesOfRegQueryValueEx) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  std::uint32_t size = 4;
  EXPECT_EQ(key_->QueryValue("text", nullptr, buffer, &size), kErrorMoreData);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(buffer[0], 'x') << "nothing copied when it does not fit";
  size = 5;
  EXPECT_EQ(key_->QueryValue("TEXT", nullptr, buffer, &size), kErrorSuccess);
  EXPECT_EQ(std::string(buffer, 5), std::string("Caf\xE9\0", 5));
  size = sizeof buffer;
  EXPECT_EQ(key_->QueryValue("Text", nullptr, buffer, &size), kErrorSuccess);
  EXPECT_EQ(size, 5u) << "size becomes the value's size";

  RegType type = RegType::None;
  EXPECT_EQ(key_->QueryValue("Dword", &type, nullptr, nullptr), kErrorSuccess);
  EXPECT_EQ(type, RegType::Dword);
  EXPECT_EQ(key_->QueryValue("Dword", nullptr, buffer, nullptr), kErrorInvalidParameter);
  EXPECT_EQ(key_->QueryValue("Missing", nullptr, nullptr, &size), kErrorFileNotFound);
}

TEST_F(RegistryQuery, SubkeysEnumerateInOrderWithTheirSpelling) {
  char name[32];
  EXPECT_EQ(key_->EnumSubKey(0, name, sizeof name), kErrorSuccess);
  EXPECT_STREQ(name, "A Long Subkey Name");
  EXPECT_EQ(key_->EnumSubKey(1, name, sizeof name), kErrorSuccess);
  EXPECT_STREQ(name, "Alpha");
  EXPECT_EQ(key_->EnumSubKey(2, name, sizeof name), kErrorSuccess);
  EXPECT_STREQ(name, "beta");
  EXPECT_EQ(key_->EnumSubKey(3, name, sizeof name), kErrorNoMoreItems);
  EXPECT_EQ(key_->EnumSubKey(1, name, 5), kErrorMoreData) << "no room for the NUL";
  EXPECT_EQ(key_->EnumSubKey(1, name, 6), kErrorSuccess);
}

TEST(RegistryOpen, PathsFollowRegOpenKeyEx) {
  auto machine = SimulatedMachine::FromRegistryLines("[HKCU\\Control Panel\\International]\n");
  Registry& registry = machine->registry();
  std::uint32_t error = 99;
  EXPECT_NE(registry.OpenKey(Hive::CurrentUser, "control panel\\INTERNATIONAL", &error), nullptr);
  EXPECT_EQ(error, kErrorSuccess);
  EXPECT_NE(registry.OpenKey(Hive::CurrentUser, "Control Panel\\International\\"), nullptr);
  EXPECT_NE(registry.OpenKey(Hive::CurrentUser, ""), nullptr) << "the hive itself";
  EXPECT_EQ(registry.OpenKey(Hive::CurrentUser, "Control Panel\\\\International", &error), nullptr);
  EXPECT_EQ(error, kErrorFileNotFound);
  EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, "Control Panel"), nullptr) << "another hive";
  EXPECT_EQ(registry.OpenKey(Hive::CurrentUser, "Control Panel\\Missing", &error), nullptr);
  EXPECT_EQ(error, kErrorFileNotFound);
}

TEST(RegistryOpen, NamesInTheAnsiCodePageFindTheirKeys) {
  auto machine = SimulatedMachine::FromRegistryLines(
      "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:000004e3\n"
      "[HKLM\\\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBD\xD1\x82\xD0\xB5\xD1\x80]\n");  // Cyrillic
  EXPECT_NE(machine->registry().OpenKey(Hive::LocalMachine, "\xCF\xF0\xE8\xED\xF2\xE5\xF0"),
            nullptr);
  EXPECT_NE(machine->registry().OpenKey(Hive::LocalMachine, "\xEF\xF0\xE8\xED\xF2\xE5\xF0"),
            nullptr)
      << "lower case in Windows-1251";
}

TEST(RegistryOpen, AnOpenKeyOutlivesItsMachine) {
  auto machine = SimulatedMachine::FromRegistryLines("[HKLM\\K]\n\"v\"=dword:7\n");
  std::unique_ptr<RegistryKey> key = machine->registry().OpenKey(Hive::LocalMachine, "K");
  machine.reset();
  std::uint32_t value = 0, size = sizeof value;
  EXPECT_EQ(key->QueryValue("v", nullptr, &value, &size), kErrorSuccess);
  EXPECT_EQ(value, 7u);
}

}  // namespace
}  // namespace platform::simulated
