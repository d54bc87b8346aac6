#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/win32/win32_registry.h"
#include "tests/platform/win32/scratch_key.h"

namespace platform::win32 {
namespace {

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_.SetText("", "Text", "Caf\xE9");
    scratch_.SetDword("", "Dword", 0x01020304);
    scratch_.SetBytes("", "Multi", REG_MULTI_SZ, std::string_view("a\0bc\0", 6));
    scratch_.SetText("beta", "Inside", "x");
    scratch_.SetText("Alpha", "Inside", "y");
    scratch_.SetText(std::string(40, 'L'), "Inside", "z");
    key_ = registry_.OpenKey(Hive::CurrentUser, scratch_.path());
    ASSERT_NE(key_, nullptr);
  }

  testing::ScratchKey scratch_{HKEY_CURRENT_USER, "Software\\vx5prcfg tests", "registry"};
  Win32Registry registry_;
  std::unique_ptr<RegistryKey> key_;
};

TEST_F(Win32RegistryTest, ValuesComeBackWithTheirTypeAndSize) {
  RegType type = RegType::None;
  std::uint32_t size = 0;
  ASSERT_EQ(key_->QueryValue("text", &type, nullptr, &size), kErrorSuccess);  // names ignore case
  EXPECT_EQ(type, RegType::Sz);
  EXPECT_EQ(size, 5u);  // with its NUL

  std::array<char, 16> text{};
  size = static_cast<std::uint32_t>(text.size());
  ASSERT_EQ(key_->QueryValue("Text", nullptr, text.data(), &size), kErrorSuccess);
  EXPECT_EQ(std::string(text.data()), "Caf\xE9");

  std::uint32_t dword = 0;
  size = sizeof dword;
  ASSERT_EQ(key_->QueryValue("Dword", &type, &dword, &size), kErrorSuccess);
  EXPECT_EQ(type, RegType::Dword);
  EXPECT_EQ(dword, 0x01020304u);

  size = 0;
  ASSERT_EQ(key_->QueryValue("Multi", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, RegType::MultiSz);
  EXPECT_EQ(size, 6u);
}

TEST_F(Win32RegistryTest, ASmallBufferGetsMoreDataAndTheSizeNeeded) {
  std::array<char, 8> data{};
  data.fill('#');
  std::uint32_t size = 2;
  EXPECT_EQ(key_->QueryValue("Text", nullptr, data.data(), &size), kErrorMoreData);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(data[2], '#');  // nothing past the capacity given

  EXPECT_EQ(key_->QueryValue("Text", nullptr, data.data(), nullptr), kErrorInvalidParameter);
  EXPECT_EQ(key_->QueryValue("Missing", nullptr, nullptr, &size), kErrorFileNotFound);
}

TEST_F(Win32RegistryTest, SubkeysEnumerateUntilNoMoreItems) {
  std::array<char, 64> name{};
  std::vector<std::string> names;
  std::uint32_t index = 0;
  for (; key_->EnumSubKey(index, name.data(), name.size()) == kErrorSuccess; ++index) {
    names.emplace_back(name.data());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", std::string(40, 'L')}));
  EXPECT_EQ(key_->EnumSubKey(index, name.data(), name.size()), kErrorNoMoreItems);

  std::array<char, 8> tooShort{};
  EXPECT_EQ(key_->EnumSubKey(2, tooShort.data(), tooShort.size()), kErrorMoreData);
  EXPECT_EQ(key_->EnumSubKey(0, nullptr, 8), kErrorInvalidParameter);
}

TEST_F(Win32RegistryTest, AMissingKeyOpensNothingAndSaysWhy) {
  std::uint32_t error = 0;
  EXPECT_EQ(registry_.OpenKey(Hive::CurrentUser, scratch_.path() + "\\Nowhere", &error), nullptr);
  EXPECT_EQ(error, kErrorFileNotFound);

  // An empty path opens the hive itself.
  EXPECT_NE(registry_.OpenKey(Hive::LocalMachine, "", &error), nullptr);
  EXPECT_EQ(error, kErrorSuccess);
  EXPECT_NE(registry_.OpenKey(Hive::Users, ""), nullptr);
}

}  // namespace
}  // namespace platform::win32
