// The printer host search: each source with what it answers, and the order
// in which a later source gets its turn.
#include "device/printer_host.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "device_test_machine.h"

namespace device::testing {
namespace {

constexpr char kMonitorsKey[] = "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";

std::string PortKey(std::string_view monitor, std::string_view port, std::string_view values) {
  return std::string(kMonitorsKey) + std::string(monitor) + "\\Ports\\" + std::string(port) +
         "]\n" + std::string(values) + "\n";
}

class PrinterHostTest : public DeviceTest {
 protected:
  struct Host {
    int result;
    std::string host;
  };

  Host Find(const char* name, platform::PrinterHandle queue = nullptr) {
    std::array<char, kPrinterHostSize> host{};
    const int result = FindPrinterHost(name, host.data(), queue);
    return {result, host.data()};
  }
};

TEST_F(PrinterHostTest, NameEndingInACommaAnswersItselfWithoutAnyPrinter) {
  UseMachine("");
  EXPECT_EQ(Find("copier.example,").result, kPrinterHostName);
  EXPECT_EQ(Find("copier.example,").host, "copier.example");
}

TEST_F(PrinterHostTest, LocalQueueOnAUncPortAnswersTheServer) {
  UseMachine(LocalQueue("\\\\\\\\PrintSrv\\\\Copier"));
  EXPECT_EQ(Find("q").result, kPrinterHostName);  // names compare ignoring case
  EXPECT_EQ(Find("Q").host, "PrintSrv");
}

TEST_F(PrinterHostTest, AippUrlWithANumericHostAnswersItAndANamedOneIsPassedOver) {
  UseMachine(LocalQueue("AIPP1") +
             PortKey("AIPP Port", "AIPP1", "\"Url\"=\"http://192.168.1.20/ipp/port1\""));
  EXPECT_EQ(Find("Q").result, kPrinterHostNumeric);
  EXPECT_EQ(Find("Q").host, "192.168.1.20");

  // The named host is skipped; the port monitor's host name answers later.
  UseMachine(LocalQueue("AIPP1") +
             PortKey("AIPP Port", "AIPP1", "\"Url\"=\"http://copier.example/ipp\"") +
             PortKey("Standard TCP/IP Port", "AIPP1", "\"HostName\"=\"other.example\""));
  EXPECT_EQ(Find("Q").result, kPrinterHostName);
  EXPECT_EQ(Find("Q").host, "other.example");
}

TEST_F(PrinterHostTest, StandardTcpIpPortGivesItsAddressElseItsHostName) {
  UseMachine(LocalQueue("P1") + PortKey("Standard TCP/IP Port", "P1",
                                        "\"IPAddress\"=\"10.0.0.7\"\n\"HostName\"=\"h.example\""));
  EXPECT_EQ(Find("Q").result, kPrinterHostNumeric);
  EXPECT_EQ(Find("Q").host, "10.0.0.7");

  UseMachine(LocalQueue("P1") + PortKey("Standard TCP/IP Port", "P1",
                                        "\"IPAddress\"=\"\"\n\"HostName\"=\"h.example\""));
  EXPECT_EQ(Find("Q").result, kPrinterHostName);
  EXPECT_EQ(Find("Q").host, "h.example");
}

TEST_F(PrinterHostTest, LprServerNameIsNumericOnlyWithDigitsAndDots) {
  UseMachine(LocalQueue("LPR1") + PortKey("LPR Port", "LPR1", "\"Server Name\"=\"10.1.2.3\""));
  EXPECT_EQ(Find("Q").result, kPrinterHostNumeric);
  EXPECT_EQ(Find("Q").host, "10.1.2.3");

  UseMachine(LocalQueue("LPR1") + PortKey("LPR Port", "LPR1", "\"Server Name\"=\"lpr-host1\""));
  EXPECT_EQ(Find("Q").result, kPrinterHostName);
  EXPECT_EQ(Find("Q").host, "lpr-host1");
}

TEST_F(PrinterHostTest, BrowseListEntryWithTheNetworkAttributeAnswersItsServer) {
  UseMachine(
      "[HKLM\\SOFTWARE\\SimulatedMachine\\NetworkPrinters\\Lobby]\n"
      "\"Port\"=\"\\\\\\\\browse-srv\\\\Lobby\"\n\"Attributes\"=dword:00000010\n");
  EXPECT_EQ(Find("lobby").result, kPrinterHostName);
  EXPECT_EQ(Find("lobby").host, "browse-srv");
}

TEST_F(PrinterHostTest, MatchWithoutAHostLeavesTheCallersTextAlone) {
  UseMachine(LocalQueue("USB001"));
  std::array<char, kPrinterHostSize> host{'k', 'e', 'p', 't'};
  EXPECT_EQ(FindPrinterHost("Q", host.data(), nullptr), kPrinterHostName);
  EXPECT_STREQ(host.data(), "kept");
}

TEST_F(PrinterHostTest, ConnectionIsFoundByItsDriverName) {
  UseMachine(NetworkQueue("SharedPort", "\\\\\\\\conn-srv") +
             "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Q]\n"
             "\"Printer Driver\"=\"VX5 Driver\"\n");
  EXPECT_EQ(Find("vx5 driver").result, kPrinterHostName);
  EXPECT_EQ(Find("vx5 driver").host, "conn-srv");
}

TEST_F(PrinterHostTest, InternetPortOfAnOpenQueueAnswersTheUrlHost) {
  // The name given matches no printer; the caller's handle names the queue.
  UseMachine(LocalQueue("http://web.example:631/printers/q") +
             "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Providers\\Internet Print "
             "Provider\\Ports\\http://web.example:631/printers/q]\n");
  QueueHandle queue;
  ASSERT_TRUE(queue.OpenByName("Q"));
  EXPECT_EQ(Find("not a queue", queue.get()).result, kPrinterHostName);
  EXPECT_EQ(Find("not a queue", queue.get()).host, "web.example");
  EXPECT_EQ((*machine_)->simulatedSpooler().OpenHandleCount(), 1u);  // the caller's, kept
}

TEST_F(PrinterHostTest, UnknownUncNameAnswersItsServerAndAnythingElseNothing) {
  UseMachine("");
  EXPECT_EQ(Find("\\\\srv\\queue").result, kPrinterHostName);
  EXPECT_EQ(Find("\\\\srv\\queue").host, "srv");
  EXPECT_EQ(Find("Nowhere").result, kNoPrinterHost);
  EXPECT_EQ(Find("\\\\srv").result, kNoPrinterHost);
  EXPECT_EQ((*machine_)->simulatedSpooler().OpenHandleCount(), 0u);
}

TEST_F(PrinterHostTest, LongHostsAreCutToTheCallersBuffer) {
  const std::string longName(400, 'h');
  UseMachine("");
  const Host host = Find((longName + ",").c_str());
  EXPECT_EQ(host.result, kPrinterHostName);
  EXPECT_EQ(host.host, longName.substr(0, kPrinterHostSize - 1));
}

}  // namespace
}  // namespace device::testing
