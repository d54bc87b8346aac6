// The predicates on address texts and on the system's version, at their
// boundaries.
#include <gtest/gtest.h>

#include "device/ansi_text.h"
#include "device/device_address.h"
#include "device_test_machine.h"

namespace device::testing {
namespace {

class AddressShapeTest : public DeviceTest {
 protected:
  AddressShapeTest() { UseMachine(""); }
};

TEST_F(AddressShapeTest, DottedQuad) {
  for (const char* text : {"1.2.3.4", "10.20.30.", "255.255.255.255", "999.1.1.1"}) {
    EXPECT_TRUE(IsDottedQuad(text)) << text;
  }
  for (const char* text : {"1.2.3", "1.2.3.4.5", ".1.2.3.4", "1..2.3", "1000.1.1.1", "1.2.3.a",
                           "1.2.3.4567", "100.200.300.4000"}) {
    EXPECT_FALSE(IsDottedQuad(text)) << text;
  }
}

TEST_F(AddressShapeTest, DottedAddress) {
  for (const char* text : {"10.1", "10", "1.2.3.4", "0.0.0.0", "1..2", ".1.2."}) {
    EXPECT_TRUE(IsDottedAddress(text)) << text;
  }
  for (const char* text : {"", "...", "1.2.3.4.5", "1.2.3.256", "1.2.3.0001", "a.b", "1.-2"}) {
    EXPECT_FALSE(IsDottedAddress(text)) << text;
  }
}

TEST_F(AddressShapeTest, Ipv6AddressAndName) {
  EXPECT_TRUE(IsIpv6Address("fe80::1"));
  EXPECT_TRUE(IsIpv6Address("a-b-c"));
  EXPECT_FALSE(IsIpv6Address("host:9100"));
  EXPECT_FALSE(IsIpv6Address("a-b.c"));
  EXPECT_TRUE(IsIpv6Name("[::1]:80/"));
  EXPECT_TRUE(IsIpv6Name("fe80--1.ipv6-literal.net/x"));
  EXPECT_FALSE(IsIpv6Name("fe80--1.IPV6-LITERAL.NET/x"));
  EXPECT_FALSE(IsIpv6Name("a-b-c.example/x"));
}

TEST_F(AddressShapeTest, DoubleByteTrailBytesNeverMatch) {
  // In code page 936, 0x81 0x5C is one character whose trail byte is "\".
  UseMachine("[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:000003a8\n");
  EXPECT_FALSE(Contains("\x81\x5C\x81\x5C", "\\\\"));
  EXPECT_TRUE(Contains("\x81\x5C\\\\", "\\\\"));
  EXPECT_EQ(FindLastChar("a\\\x81\x5C", '\\'), 1u);
}

TEST_F(AddressShapeTest, WindowsVersions) {
  struct Case {
    int platform, major, minor;
    bool nine, nt4;
  };
  const Case cases[] = {{1, 4, 0, true, false},   {1, 4, 10, true, false}, {1, 4, 90, true, false},
                        {1, 4, 20, false, false}, {2, 4, 0, false, true},  {2, 3, 51, false, true},
                        {2, 5, 0, false, false},  {2, 10, 0, false, false}};
  for (const Case& c : cases) {
    char lines[256];
    std::snprintf(lines, sizeof lines,
                  "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"PlatformId\"=dword:%x\n"
                  "\"MajorVersion\"=dword:%x\n\"MinorVersion\"=dword:%x\n",
                  c.platform, c.major, c.minor);
    UseMachine(lines);
    EXPECT_EQ(IsWindows9x(), c.nine) << c.platform << " " << c.major << "." << c.minor;
    EXPECT_EQ(IsWindowsNt4OrEarlier(), c.nt4) << c.platform << " " << c.major << "." << c.minor;
  }
}

}  // namespace
}  // namespace device::testing
