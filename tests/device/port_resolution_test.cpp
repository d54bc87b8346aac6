// Port resolution: every port kind with each of its outcomes, the orders of
// the classifiers, the printer-data cache and the address shapes' folding.
#include <gtest/gtest.h>

#include "device/model_check.h"
#include "device/name_resolution.h"
#include "device/port_monitors.h"
#include "device_test_machine.h"

namespace device::testing {
namespace {

constexpr char kModel15[] = "1.3.6.1.4.1.1129.2.3.15";
constexpr char kForeignModel[] = "1.3.6.1.4.1.9999.1";
constexpr char kHostsLines[] =
    "\"printer.test\"=\"10.0.0.5\"\n"
    "\"twice.test\"=\"10.0.0.1,10.0.0.2\"\n"
    "\"srv\"=\"10.0.0.20\"\n"
    "\"printsrv\"=\"10.0.0.30\"\n"
    "\"a-b-c.example\"=\"10.0.0.9\"\n";

class PortResolutionTest : public DeviceTest {
 protected:
  void UseQueue(const std::string& queue, const std::string& more = {}) {
    UseMachine(queue + Hosts(kHostsLines) + more);
  }
};

// ---- Shortcut, cache and folding ---------------------------------------------

TEST_F(PortResolutionTest, SnmpIpAddressIsTakenAsIsBeforeThePortAndWithoutFolding) {
  UseQueue(LocalQueue("USB001", "\"SNMPIPAddress\"=\"fd00-1-2.ipv6-literal.net\""));
  EXPECT_EQ(Resolve().result, kAddressFound);
  EXPECT_EQ(Resolve().address, "fd00-1-2.ipv6-literal.net");
  // Trusted callers skip the shortcut and look at the port.
  EXPECT_EQ(Resolve(0, nullptr, 1).result, kNoUsablePortKind);
}

TEST_F(PortResolutionTest, EmptySnmpIpAddressFallsThroughToThePort) {
  UseQueue(LocalQueue("10.1.2.3", "\"SNMPIPAddress\"=\"\""));
  EXPECT_EQ(Resolve().address, "10.1.2.3");
}

TEST_F(PortResolutionTest, StaleOriginalPortDeletesBothValuesAndResolvesAfresh) {
  UseQueue(
      LocalQueue("10.1.2.3", "\"Original Port\"=\"IP_9.9.9.9\"\n\"Discovered IP\"=\"9.9.9.9\""));
  const Resolution resolution = Resolve();
  EXPECT_EQ(resolution.result, kAddressFound);
  EXPECT_EQ(resolution.address, "10.1.2.3");
  EXPECT_FALSE(HasPrinterData("Original Port"));
  EXPECT_FALSE(HasPrinterData("Discovered IP"));
}

TEST_F(PortResolutionTest, MissingOriginalPortDropsAnOrphanedDiscoveredIp) {
  UseQueue(LocalQueue("10.1.2.3", "\"Discovered IP\"=\"9.9.9.9\""));
  EXPECT_EQ(Resolve().address, "10.1.2.3");
  EXPECT_FALSE(HasPrinterData("Discovered IP"));
}

TEST_F(PortResolutionTest, CurrentCacheAnswersAndEmptyCacheDoesNot) {
  UseQueue(LocalQueue("IP_1.2.3.4",
                      "\"Original Port\"=\"IP_1.2.3.4\"\n\"Discovered IP\"=\"10.0.0.99\""));
  EXPECT_EQ(Resolve().address, "10.0.0.99");
  EXPECT_TRUE(HasPrinterData("Discovered IP"));

  UseQueue(LocalQueue("10.1.2.3", "\"Original Port\"=\"10.1.2.3\"\n\"Discovered IP\"=\"\""));
  EXPECT_EQ(Resolve().address, "10.1.2.3");
}

TEST_F(PortResolutionTest, HyphenatedAddressIsCutAtItsFirstDotAndHyphensBecomeColons) {
  UseQueue(LocalQueue("a-b-c.example"));
  const Resolution resolution = Resolve();
  EXPECT_EQ(resolution.result, kAddressFound);
  EXPECT_EQ(resolution.address, "a:b:c");
}

TEST_F(PortResolutionTest, NoRecordOrNoPortAttributeGivesTen) {
  std::array<char, kAddressBufferSize> address{};
  EXPECT_EQ(ResolveDeviceAddress(nullptr, address.data(), 0, nullptr, 1, nullptr, 0),
            kNoUsablePortKind);
  UseMachine(std::string(kQueueKey) + "Q]\n\"Port\"=\"10.1.2.3\"\n\"Attributes\"=dword:0\n");
  EXPECT_EQ(Resolve().result, kNoUsablePortKind);
}

// ---- Local port kinds ---------------------------------------------------------------

TEST_F(PortResolutionTest, LocalClassifierTakesTheFirstMatchInItsOrder) {
  UseQueue(LocalQueue("x"), std::string(kPortsKey) + "MonitorPort]\n");
  struct Case {
    const char* port;
    LocalPortKind kind;
  };
  const Case cases[] = {
      {"http://https://h/", LocalPortKind::kWebUrl},
      {"https://h/x", LocalPortKind::kSecureWebUrl},
      {"ipp://h/ipp/IP_1", LocalPortKind::kIppUrl},
      {"h/ipps/x", LocalPortKind::kIppUrl},
      {"IP_10.0.0.1:9100", LocalPortKind::kIpPrefixed},
      {"IP_WSD-1", LocalPortKind::kIpPrefixed},
      {"WSD-1234\\\\x", LocalPortKind::kWsd},
      {"MonitorPort", LocalPortKind::kStandardTcpIp},
      {"\\\\srv\\q:1", LocalPortKind::kUncPath},
      {"printer.test:9100", LocalPortKind::kHostAndPort},
      {"10.1", LocalPortKind::kAddressOrHost},
      {"printer.test", LocalPortKind::kAddressOrHost},
      {"no-such-host.invalid", LocalPortKind::kUnknown},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyLocalPort(c.port), c.kind) << c.port;
}

TEST_F(PortResolutionTest, LocalUncPortFollowsTheModelCheck) {
  UseQueue(LocalQueue("\\\\\\\\srv\\\\share"));
  Device("10.0.0.20", kModel15);
  EXPECT_EQ(Resolve().result, kAddressFound);
  EXPECT_EQ(Resolve().address, "10.0.0.20");

  Device("10.0.0.20", kForeignModel);
  int notOurs = 0;
  EXPECT_EQ(Resolve(0, &notOurs).result, kNoAddressForPort);
  EXPECT_EQ(notOurs, 1);

  devices_.clear();  // nothing answers: the model check times out
  EXPECT_EQ(Resolve().result, kNoUsablePortKind);

  backend_->ClearSends();
  EXPECT_EQ(Resolve(0, nullptr, 1).result, kAddressFound);
  EXPECT_TRUE(backend_->Sends().empty());
}

TEST_F(PortResolutionTest, LocalUncPortWithUnresolvableServerIsNotOurs) {
  UseQueue(LocalQueue("\\\\\\\\nowhere.invalid\\\\share"));
  const Resolution resolution = Resolve();
  EXPECT_EQ(resolution.result, kNoAddressForPort);
  EXPECT_EQ(resolution.address, "");
}

TEST_F(PortResolutionTest, LocalIpPortReadsTheMonitorKey) {
  const std::string key = std::string(kPortsKey) + "IP_x]\n";
  UseQueue(LocalQueue("IP_x"), key + "\"IPAddress\"=\"10.0.0.7\"\n\"HostName\"=\"printer.test\"\n");
  EXPECT_EQ(Resolve().address, "10.0.0.7");

  // An "IPAddress" too short to hold an address defers to the host name.
  UseQueue(LocalQueue("IP_x"), key + "\"IPAddress\"=\"1.2.3\"\n\"HostName\"=\"printer.test\"\n");
  EXPECT_EQ(Resolve().address, "10.0.0.5");

  UseQueue(LocalQueue("IP_x"), key + "\"IPAddress\"=\"\"\n\"HostName\"=\"nowhere.invalid\"\n");
  EXPECT_EQ(Resolve().result, kNoAddressForPort);
}

TEST_F(PortResolutionTest, LocalIpPortWithoutKeyAsksTheDiscoveryValue) {
  UseQueue(LocalQueue("IP_lobby"), std::string(kDiscoveryKey) + "\"IP_lobby\"=\"10.0.0.44\"\n");
  EXPECT_EQ(Resolve().address, "10.0.0.44");
  UseQueue(LocalQueue("IP_lobby"));
  EXPECT_EQ(Resolve().result, kNoAddressForPort);
}

TEST_F(PortResolutionTest, DiscoveryKeyDependsOnVariantAndOnOldSystemsOnTheUsersHive) {
  const std::string reseller =
      "[HKCU\\Software\\Pellandine-nvtc\\Pellandine-nvtc Client\\LM-JobVue\\PrinterDiscovery]\n"
      "\"IP_lobby\"=\"10.0.0.33\"\n";
  UseQueue(LocalQueue("IP_lobby"),
           std::string(kDiscoveryKey) + "\"IP_lobby\"=\"10.0.0.44\"\n" + reseller);
  EXPECT_EQ(Resolve(3).address, "10.0.0.33");
  EXPECT_EQ(Resolve(2).address, "10.0.0.44");

  const std::string nt4 =
      "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"MajorVersion\"=dword:4\n"
      "\"InteractiveUserSid\"=\"S-1-5-21-1-2-3-1001\"\n"
      "[HKU\\S-1-5-21-1-2-3-1001\\Software\\MERLO\\Norvane MERLO Client\\LM-JobVue\\"
      "PrinterDiscovery]\n\"IP_lobby\"=\"10.0.0.55\"\n";
  UseQueue(LocalQueue("IP_lobby"),
           std::string(kDiscoveryKey) + "\"IP_lobby\"=\"10.0.0.44\"\n" + nt4);
  EXPECT_EQ(Resolve().address, "10.0.0.55");
}

TEST_F(PortResolutionTest, WebUrlsResolveTheirHost) {
  UseQueue(LocalQueue("http://printer.test:80/printers/x/.printer"));
  EXPECT_EQ(Resolve().address, "10.0.0.5");
  UseQueue(LocalQueue("https://printer.test/ipp"));
  EXPECT_EQ(Resolve().address, "10.0.0.5");
  UseQueue(LocalQueue("http://fd00-0-0-0-0-0-0-7.ipv6-literal.net/x"));
  EXPECT_EQ(Resolve().address, "fd00::7");
  UseQueue(LocalQueue("http://nowhere.invalid/x"));
  EXPECT_EQ(Resolve().result, kAddressFound);
  EXPECT_EQ(Resolve().address, "");
}

TEST_F(PortResolutionTest, HostAndPortResolvesTheHost) {
  UseQueue(LocalQueue("printer.test:9100"));
  EXPECT_EQ(Resolve().address, "10.0.0.5");
  UseQueue(LocalQueue("[::1]:9100"));
  EXPECT_EQ(Resolve().address, "::1");
}

TEST_F(PortResolutionTest, IppUrlTakesTheAddressBeforeTheColonOfNovellData) {
  UseQueue(LocalQueue("ipp://h/ipp", "\"NovellSNMPAddressAndPort\"=\"10.0.0.7:161\""));
  EXPECT_EQ(Resolve().address, "10.0.0.7");
  UseQueue(LocalQueue("ipp://h/ipp", "\"NovellSNMPAddressAndPort\"=\":161\""));
  EXPECT_EQ(Resolve().result, kNoAddressForPort);
  UseQueue(LocalQueue("ipp://h/ipp", "\"NovellSNMPAddressAndPort\"=\"10.0.0.7\""));
  EXPECT_EQ(Resolve().result, kNoAddressForPort);
  UseQueue(LocalQueue("ipp://h/ipp"));
  EXPECT_EQ(Resolve().result, kNoAddressForPort);
}

TEST_F(PortResolutionTest, WsdPortMatchesDeviceKeysAgainstDefName) {
  const std::string umb = "[HKLM\\SYSTEM\\CurrentControlSet\\Enum\\IPBusEnumRoot\\UMB\\";
  UseQueue(LocalQueue("WSD-1", "\"DefName\"=\"Copier (Hall)\""),
           umb +
               "a]\n\"FriendlyName\"=\"Scanner\"\n\"LocationInformation\"=\"http://10.0.0.1/\"\n" +
               umb +
               "b]\n\"FriendlyName\"=\" \tCopier (Hall)\t\"\n"
               "\"LocationInformation\"=\"http://printer.test:80/WebServices\"\n");
  EXPECT_EQ(Resolve().address, "10.0.0.5");

  // A name that is empty once trimmed matches every DefName.
  UseQueue(LocalQueue("WSD-1", "\"DefName\"=\"Anything\""),
           umb + "a]\n\"FriendlyName\"=\"  \"\n\"LocationInformation\"=\"http://10.0.0.3/\"\n");
  EXPECT_EQ(Resolve().address, "10.0.0.3");

  UseQueue(
      LocalQueue("WSD-1", "\"DefName\"=\"Copier\""),
      umb + "a]\n\"FriendlyName\"=\"Scanner\"\n\"LocationInformation\"=\"http://10.0.0.1/\"\n");
  EXPECT_EQ(Resolve().result, kNoUsablePortKind);
  UseQueue(LocalQueue("WSD-1", "\"DefName\"=\"Copier\""));
  EXPECT_EQ(Resolve().result, kNoUsablePortKind);
}

TEST_F(PortResolutionTest, UnknownLocalPortGivesTen) {
  UseQueue(LocalQueue("no-such-host.invalid"));
  EXPECT_EQ(Resolve().result, kNoUsablePortKind);
}

// ---- Network queues -----------------------------------------------------------------

TEST_F(PortResolutionTest, NetworkClassifierTakesTheFirstMatchInItsOrder) {
  UseQueue(LocalQueue("x"), std::string(kPortsKey) + "MonitorPort]\n");
  struct Case {
    const char* port;
    NetworkPortKind kind;
  };
  const Case cases[] = {
      {"WSD-IP_1", NetworkPortKind::kWsd},
      {"IP_\\\\srv", NetworkPortKind::kIpPort},
      {"10.20.30.", NetworkPortKind::kIpPort},
      {"MonitorPort", NetworkPortKind::kStandardTcpIp},
      {"\\\\srv\\q", NetworkPortKind::kUncPath},
      {"printer.test", NetworkPortKind::kNumericHost},
      {"name.invalid:9100", NetworkPortKind::kHostAndPort},
      {"SharedCopier", NetworkPortKind::kPrintServer},
  };
  std::array<char, kAddressBufferSize> numeric{};
  for (const Case& c : cases)
    EXPECT_EQ(ClassifyNetworkPort(c.port, numeric.data()), c.kind) << c.port;
}

TEST_F(PortResolutionTest, NetworkPortKindsResolve) {
  UseQueue(NetworkQueue("WSD-1", "\\\\\\\\printsrv"));
  EXPECT_EQ(Resolve().result, kNoAddressForPort);
  UseQueue(NetworkQueue("IP_10.0.0.8", "\\\\\\\\printsrv"));
  EXPECT_EQ(Resolve().address, "10.0.0.8");
  UseQueue(NetworkQueue("\\\\\\\\srv\\\\q", "\\\\\\\\printsrv"));
  EXPECT_EQ(Resolve().address, "10.0.0.20");
  UseQueue(NetworkQueue("printer.test", "\\\\\\\\printsrv"));
  EXPECT_EQ(Resolve().address, "10.0.0.5");
  UseQueue(NetworkQueue("nowhere.invalid:9100", "\\\\\\\\printsrv"));
  EXPECT_EQ(Resolve().result, kAddressFound);
  EXPECT_EQ(Resolve().address, "");
}

TEST_F(PortResolutionTest, NetworkIpPortPrefersTheMonitorsIpAddress) {
  const std::string key = std::string(kPortsKey) + "IP_10.0.0.8]\n";
  UseQueue(NetworkQueue("IP_10.0.0.8", "\\\\\\\\printsrv"), key + "\"IP_Address\"=\"10.0.0.9\"\n");
  EXPECT_EQ(Resolve().address, "10.0.0.9");
  // The key's text is no address while the port's was: nothing usable.
  UseQueue(NetworkQueue("IP_10.0.0.8", "\\\\\\\\printsrv"), key + "\"IP_Address\"=\"junk\"\n");
  EXPECT_EQ(Resolve().result, kNoAddressForPort);
  // A port naming a host leaves the host name for the session to resolve.
  UseQueue(NetworkQueue("IP_copier", "\\\\\\\\printsrv"));
  EXPECT_EQ(Resolve().result, kAddressFound);
  EXPECT_EQ(Resolve().address, "copier");
}

TEST_F(PortResolutionTest, ClusterNodeFindsPortsUnderThePrintSpoolerResource) {
  const std::string cluster =
      "[HKLM\\Cluster\\Resources\\disk]\n\"Type\"=\"Physical Disk\"\n"
      "[HKLM\\Cluster\\Resources\\disk\\Parameters\\Monitors\\Standard TCP/IP Port\\Ports\\P1]\n"
      "\"IP_Address\"=\"10.9.9.9\"\n"
      "[HKLM\\Cluster\\Resources\\spool]\n\"Type\"=\"Print Spooler\"\n"
      "[HKLM\\Cluster\\Resources\\spool\\Parameters\\Monitors\\Standard TCP/IP Port\\Ports\\P1]\n"
      "\"IP_Address\"=\"10.0.0.66\"\n";
  UseQueue(NetworkQueue("P1", "\\\\\\\\printsrv"), cluster);
  EXPECT_EQ(StandardTcpIpBaseKey(),
            "Cluster\\Resources\\spool\\Parameters\\Monitors\\Standard TCP/IP Port\\Ports\\");
  EXPECT_EQ(Resolve().address, "10.0.0.66");

  UseQueue(NetworkQueue("P1", "\\\\\\\\printsrv"), "[HKLM\\Cluster]\n");
  EXPECT_EQ(StandardTcpIpBaseKey(), kStandardTcpIpPortsKey);
}

TEST_F(PortResolutionTest, PrintServerOfOursIsTheDevice) {
  UseQueue(NetworkQueue("SharedCopier", "\\\\\\\\printsrv"),
           std::string(kDiscoveryKey) + "\"SharedCopier\"=\"10.0.0.44\"\n");
  Device("10.0.0.30", kModel15);
  EXPECT_EQ(Resolve().address, "10.0.0.30");

  Device("10.0.0.30", kForeignModel);
  EXPECT_EQ(Resolve().address, "10.0.0.44");  // not ours: the discovery value

  devices_.clear();
  EXPECT_EQ(Resolve().result, kNoUsablePortKind);  // the check timed out

  UseQueue(NetworkQueue("SharedCopier", "\\\\\\\\printsrv"));
  Device("10.0.0.30", kForeignModel);
  EXPECT_EQ(Resolve().result, kNoAddressForPort);
}

// ---- Names ---------------------------------------------------------------------------

TEST_F(PortResolutionTest, NumericAddressIsTheResolversLastAndSocketsBalance) {
  UseQueue(LocalQueue("x"));
  std::array<char, kAddressBufferSize> out{};
  EXPECT_TRUE(ResolveNumericAddress("twice.test", out.data()));
  EXPECT_STREQ(out.data(), "10.0.0.2");
  EXPECT_FALSE(ResolveNumericAddress(nullptr, out.data()));
  EXPECT_FALSE(ResolveNumericAddress("nowhere.invalid", out.data()));
  EXPECT_NE(LastSocketError(), 0);
  EXPECT_EQ(Snmp_pp::SocketLayerStats::startups(), 2);
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(PortResolutionTest, CanResolveHostNeedsAUdpSession) {
  UseQueue(LocalQueue("x"));
  std::array<char, kAddressBufferSize> out{};
  EXPECT_TRUE(CanResolveHost("printer.test", out.data()));
  backend_->SetOpenStatus(Snmp_pp::SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  EXPECT_FALSE(CanResolveHost("printer.test", out.data()));
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

}  // namespace
}  // namespace device::testing
