#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/win32/win32_network.h"

namespace platform::win32 {
namespace {

// Numeric addresses only: a name would wait on a resolver the machine may
// not reach.
class Win32ResolverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resolver_ = network_.BindNameResolver();
    ASSERT_NE(resolver_, nullptr);
  }

  Win32Network network_;
  NameResolver* resolver_ = nullptr;
};

TEST_F(Win32ResolverTest, TheEntryPointsAreBoundOnce) {
  EXPECT_EQ(network_.BindNameResolver(), resolver_);
}

// No socket layer is started here: the resolver works before the module
// opens a session, as the module asks it to.
TEST_F(Win32ResolverTest, NumericAddressesResolveToTheirFamily) {
  std::vector<SocketAddress> addresses;
  ASSERT_EQ(resolver_->GetAddrInfo("127.0.0.1", AddressFamily::Unspecified, &addresses), 0);
  ASSERT_EQ(addresses.size(), 1u);
  EXPECT_EQ(addresses[0].family, AddressFamily::Inet);
  EXPECT_EQ(addresses[0].bytes[0], 127);
  EXPECT_EQ(addresses[0].bytes[3], 1);

  ASSERT_EQ(resolver_->GetAddrInfo("::1", AddressFamily::Inet6, &addresses), 0);
  ASSERT_EQ(addresses.size(), 1u);
  EXPECT_EQ(addresses[0].family, AddressFamily::Inet6);
  EXPECT_EQ(addresses[0].bytes[15], 1);

  EXPECT_NE(resolver_->GetAddrInfo("::1", AddressFamily::Inet, &addresses), 0);
  EXPECT_TRUE(addresses.empty());
}

TEST_F(Win32ResolverTest, NamesNoResolverCouldTakeAreRefusedFirst) {
  std::vector<SocketAddress> addresses;
  EXPECT_EQ(resolver_->GetAddrInfo("", AddressFamily::Unspecified, &addresses), kWsaHostNotFound);
  EXPECT_EQ(resolver_->GetAddrInfo(std::string_view("127.0.0.1\0x", 11), AddressFamily::Unspecified,
                                   &addresses),
            kWsaHostNotFound);
  EXPECT_EQ(resolver_->GetAddrInfo("127.0.0.1", static_cast<AddressFamily>(6), &addresses),
            kWsaEafnosupport);
  EXPECT_EQ(resolver_->GetAddrInfo("127.0.0.1", AddressFamily::Unspecified, nullptr), kWsaEfault);
}

TEST_F(Win32ResolverTest, NumericNamesComeBackAsText) {
  SocketAddress v4;
  v4.family = AddressFamily::Inet;
  v4.bytes = {192, 0, 2, 10};
  std::array<char, 64> host{};
  ASSERT_EQ(resolver_->GetNameInfo(v4, host.data(), host.size(), true), 0);
  EXPECT_EQ(std::string(host.data()), "192.0.2.10");

  SocketAddress v6;
  v6.family = AddressFamily::Inet6;
  v6.bytes[0] = 0x20;
  v6.bytes[1] = 0x01;
  v6.bytes[2] = 0x0d;
  v6.bytes[3] = 0xb8;
  v6.bytes[15] = 0x05;
  ASSERT_EQ(resolver_->GetNameInfo(v6, host.data(), host.size(), true), 0);
  EXPECT_EQ(std::string(host.data()), "2001:db8::5");
}

TEST_F(Win32ResolverTest, AHostBufferIsNeverWrittenPastItsCapacity) {
  SocketAddress v4;
  v4.family = AddressFamily::Inet;
  v4.bytes = {192, 0, 2, 10};
  std::array<char, 16> host{};
  host.fill('#');
  EXPECT_NE(resolver_->GetNameInfo(v4, host.data(), 4, true), 0);
  for (std::size_t i = 4; i < host.size(); ++i) EXPECT_EQ(host[i], '#') << i;

  EXPECT_EQ(resolver_->GetNameInfo(v4, host.data(), 0, true), kWsaEfault);
  EXPECT_EQ(resolver_->GetNameInfo(SocketAddress{}, host.data(), host.size(), true),
            kWsaEafnosupport);
}

}  // namespace
}  // namespace platform::win32
