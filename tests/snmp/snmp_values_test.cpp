// Object identifiers, octet strings, bindings and PDUs: how values are built, read and printed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "snmp/snmp_pp.h"

namespace Snmp_pp {
namespace {

Vb OctetsVb(const std::vector<unsigned char>& bytes) {
  Vb vb(Oid("1.3.6.1.4.1.1129.2.3.50.99.1.0"));
  vb.set_value(OctetStr(bytes.data(), static_cast<unsigned long>(bytes.size())));
  return vb;
}

TEST(OidText, ParsesDottedDecimalAndPrintsItBack) {
  const Oid oid("1.3.6.1.2.1.1.2.0");
  ASSERT_TRUE(oid.valid());
  EXPECT_EQ(oid.len(), 9u);
  EXPECT_STREQ(oid.get_printable(), "1.3.6.1.2.1.1.2.0");
  EXPECT_STREQ(Oid(".1.3.6.1").get_printable(), "1.3.6.1");
}

TEST(OidText, RefusesMalformedText) {
  for (const char* text : {"1.3.", "1..3", "1.3.x", "1.3.4294967296", "-1.3"}) {
    const Oid oid(text);
    EXPECT_FALSE(oid.valid()) << text;
    EXPECT_EQ(oid.len(), 0u) << text;
  }
}

TEST(OidText, OrdersAsAgentsWalkAndTestsPrefixes) {
  EXPECT_LT(Oid("1.3.6.1.2.1.2.2.1.2.9"), Oid("1.3.6.1.2.1.2.2.1.2.10"));
  EXPECT_LT(Oid("1.3.6.1.2.1.2.2.1.2"), Oid("1.3.6.1.2.1.2.2.1.2.1"));
  EXPECT_TRUE(Oid("1.3.6.1.2.1.2.2.1.2.3").starts_with(Oid("1.3.6.1.2.1.2.2.1.2")));
  EXPECT_FALSE(Oid("1.3.6.1.2.1.2.2.1.3.1").starts_with(Oid("1.3.6.1.2.1.2.2.1.2")));
}

TEST(PrintableValue, IntegerIsDecimal) {
  Vb vb;
  vb.set_value(-42);
  EXPECT_STREQ(vb.get_printable_value(), "-42");
  vb.set_value(2147483647L);
  EXPECT_STREQ(vb.get_printable_value(), "2147483647");
}

TEST(PrintableValue, ObjectIdentifierIsDotted) {
  Vb vb;
  vb.set_value(Oid("1.3.6.1.4.1.1129.2.3.15"));
  EXPECT_STREQ(vb.get_printable_value(), "1.3.6.1.4.1.1129.2.3.15");
}

TEST(PrintableValue, TextWithLineBreaksStaysText) {
  Vb vb;
  vb.set_value("line one\r\nline two");
  EXPECT_STREQ(vb.get_printable_value(), "line one\r\nline two");
}

TEST(PrintableValue, UnprintableByteGivesHexDumpOfSixteenBytesALine) {
  std::vector<unsigned char> bytes = {0x00, 0x01, 'A', 'B'};
  for (unsigned char c = 'a'; c < 'a' + 14; ++c) {
    bytes.push_back(c);
  }
  const std::string dump = OctetsVb(bytes).get_printable_value();
  // Hex column: indent, "XX " per byte, padded to 16 bytes; then a gap and the ASCII column.
  const std::string missing_bytes(14 * 3, ' ');
  EXPECT_EQ(dump,
            "  00 01 41 42 61 62 63 64 65 66 67 68 69 6A 6B 6C    ..ABabcdefghijkl\n"
            "  6D 6E " +
                missing_bytes + "   mn\n");
}

TEST(PrintableValue, HighBytesAreUnprintable) {
  EXPECT_EQ(std::string(OctetsVb({'O', 'K', 0xFF}).get_printable_value()),
            "  4F 4B FF " + std::string(13 * 3, ' ') + "   OK.\n");
}

TEST(PrintableValue, EmptyBindingPrintsEmpty) {
  EXPECT_STREQ(Vb(Oid("1.3.6")).get_printable_value(), "");
}

TEST(IntegerRead, TakesAnInteger) {
  Vb vb;
  vb.set_value(-7);
  int as_int = 0;
  long as_long = 0;
  EXPECT_EQ(vb.get_value(as_int), SNMP_CLASS_SUCCESS);
  EXPECT_EQ(vb.get_value(as_long), SNMP_CLASS_SUCCESS);
  EXPECT_EQ(as_int, -7);
  EXPECT_EQ(as_long, -7);
}

TEST(IntegerRead, FailsAndLeavesTheVariableForOtherSyntaxes) {
  Vb text;
  text.set_value("12");
  Vb empty(Oid("1.3.6"));
  Vb counter;
  counter.set_unsigned(sNMP_SYNTAX_CNTR32, 5);
  for (const Vb* vb : {&text, &empty, &counter}) {
    int value = 1234;
    EXPECT_NE(vb->get_value(value), SNMP_CLASS_SUCCESS);
    EXPECT_EQ(value, 1234);
  }
}

TEST(OctetRead, ByteBufferTakesAtMostMaxlen) {
  const Vb vb = OctetsVb({1, 2, 3, 4, 5, 6});
  unsigned char buffer[8];
  std::memset(buffer, 0xEE, sizeof buffer);
  unsigned long length = 0;
  EXPECT_EQ(vb.get_value(buffer, length, 4), SNMP_CLASS_SUCCESS);
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(buffer[3], 4);
  EXPECT_EQ(buffer[4], 0xEE);  // nothing beyond maxlen
}

TEST(OctetRead, NullByteStaysWithinMaxlen) {
  unsigned char buffer[4];
  unsigned long length = 0;
  EXPECT_EQ(OctetsVb({'a', 'b', 'c', 'd', 'e'}).get_value(buffer, length, 4, true),
            SNMP_CLASS_SUCCESS);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer)), "abc");
  EXPECT_EQ(OctetsVb({'x'}).get_value(buffer, length, 4, true), SNMP_CLASS_SUCCESS);
  EXPECT_EQ(length, 1u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer)), "x");
}

TEST(OctetRead, CharBufferGetsRawBytesAndATerminator) {
  char buffer[16];
  std::memset(buffer, 'Z', sizeof buffer);
  EXPECT_EQ(OctetsVb({'B', 0x00, 'x', 0x01}).get_value(buffer), SNMP_CLASS_SUCCESS);
  EXPECT_EQ(std::memcmp(buffer, "B\0x\x01\0", 5), 0);
  EXPECT_EQ(buffer[5], 'Z');
}

TEST(OctetRead, NonOctetValueFailsWithEmptyResult) {
  Vb vb;
  vb.set_value(3);
  unsigned char bytes[4] = {9, 9, 9, 9};
  unsigned long length = 77;
  EXPECT_NE(vb.get_value(bytes, length, sizeof bytes), SNMP_CLASS_SUCCESS);
  EXPECT_EQ(length, 0u);
  char text[4] = "abc";
  EXPECT_NE(vb.get_value(text), SNMP_CLASS_SUCCESS);
  EXPECT_STREQ(text, "");
}

TEST(PduBindings, TrimThenAddReusesAPduForTheNextRequest) {
  Pdu pdu;
  EXPECT_FALSE(pdu.trim(1));  // nothing to trim on first use
  pdu += Vb(Oid("1.3.6.1.2.1.1.1.0"));
  ASSERT_TRUE(pdu.trim(1));
  pdu += Vb(Oid("1.3.6.1.2.1.1.2.0"));
  ASSERT_EQ(pdu.get_vb_count(), 1);
  Vb vb;
  ASSERT_TRUE(pdu.get_vb(vb, 0));
  EXPECT_STREQ(vb.get_printable_oid(), "1.3.6.1.2.1.1.2.0");
}

TEST(PduBindings, OutOfRangeIndexLeavesTheBindingAlone) {
  Pdu pdu;
  pdu += Vb(Oid("1.3.6.1"));
  Vb vb(Oid("1.2"));
  EXPECT_FALSE(pdu.get_vb(vb, 1));
  EXPECT_FALSE(pdu.get_vb(vb, -1));
  EXPECT_STREQ(vb.get_printable_oid(), "1.2");
  EXPECT_FALSE(pdu.set_vb(vb, 1));
  EXPECT_TRUE(pdu.set_vb(vb, 0));
  EXPECT_FALSE(pdu.trim(2));
}

TEST(PduBindings, HoldsAtMostTheLibraryLimit) {
  Pdu pdu;
  for (int i = 0; i < kPduMaxVbs + 5; ++i) {
    pdu += Vb(Oid("1.3.6.1"));
  }
  EXPECT_EQ(pdu.get_vb_count(), kPduMaxVbs);
}

}  // namespace
}  // namespace Snmp_pp
