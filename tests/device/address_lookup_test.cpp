// The address look-ups: the address book's text from each source in turn,
// devices found by name over the IPX name space, the controller addresses
// and the fax discovery routine of a driver file.
#include "device/address_lookup.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "device/fax_discovery.h"
#include "device_test_machine.h"

namespace device::testing {
namespace {

constexpr char kMonitors[] = "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
constexpr char kControllerDiscovery[] =
    "[HKLM\\Software\\RV-4410\\Norvane k-Orbita RV-4410 Client\\LM-JobVue\\PrinterDiscovery]\n";
constexpr char kIpxDevice[] = "0000000b-00c0ee445566";
constexpr char kOtherIpxDevice[] = "0000000b-00c0ee000001";

std::string PortKey(std::string_view monitor, std::string_view port, std::string_view values) {
  return std::string(kMonitors) + std::string(monitor) + "\\Ports\\" + std::string(port) + "]\n" +
         std::string(values) + "\n";
}

// Two SAP services, the second the device answering to "copier-a.invalid".
std::string IpxNetwork(
    std::string_view providers = "NWLink IPX/SPX Compatible Transport Protocol") {
  return "[HKLM\\SOFTWARE\\SimulatedMachine\\Ipx]\n\"NameSpaceProviders\"=\"" +
         std::string(providers) +
         "\"\n[HKLM\\SOFTWARE\\SimulatedMachine\\Ipx\\Services]\n\"other\"=\"" + kOtherIpxDevice +
         "\"\n\"copier\"=\"" + kIpxDevice + "\"\n";
}

class AddressLookupTest : public DeviceTest {
 protected:
  AddressLookupTest() {
    devices_[kIpxDevice].Set(kDeviceNameOid, "copier-a.invalid");
    devices_[kOtherIpxDevice].Set(kDeviceNameOid, "Someone else");
  }

  // The 16-byte buffer as the caller zeroes it, with a sentinel after it.
  std::string AddressBook(const char* printer) {
    std::array<char, 17> buffer{};
    buffer[16] = 'S';
    EXPECT_EQ(GetIpAddressForAddressBook(printer, buffer.data()), 1);
    EXPECT_EQ(buffer[16], 'S');
    return std::string(buffer.data(), strnlen(buffer.data(), 16));
  }
};

TEST_F(AddressLookupTest, AddressBookTextFromEachPortKind) {
  // A numeric host as it is, padded with NULs and never 16 characters long.
  UseMachine(LocalQueue("IP_1") +
             PortKey("Standard TCP/IP Port", "IP_1", "\"IPAddress\"=\"192.168.1.20\""));
  EXPECT_EQ(AddressBook("Q"), "192.168.1.20");

  // An LPR server named: resolved.
  UseMachine(LocalQueue("LPR1") +
             PortKey("LPR Port", "LPR1", "\"Server Name\"=\"copier.example\"") +
             Hosts("\"copier.example\"=\"10.1.2.3\""));
  EXPECT_EQ(AddressBook("Q"), "10.1.2.3");

  // An IPv6 address is cut to its first 15 characters.
  UseMachine(LocalQueue("IP_6") +
             PortKey("Standard TCP/IP Port", "IP_6", "\"IPAddress\"=\"2001:db8:0:0:0:0:0:1\""));
  EXPECT_EQ(AddressBook("Q"), "2001:db8:0:0:0:");
}

TEST_F(AddressLookupTest, AddressBookFallsBackToIpxThenTheDiscoveryValueThenZeros) {
  // Nothing known at all.
  UseMachine(LocalQueue("LPT1:"));
  EXPECT_EQ(AddressBook("Q"), "000.000.000.000");
  EXPECT_EQ(AddressBook(nullptr), "000.000.000.000");

  // A name that does not resolve but a device over IPX answers to.
  UseMachine(LocalQueue("LPR1") +
             PortKey("LPR Port", "LPR1", "\"Server Name\"=\"copier-a.invalid\"") +
             Hosts("\"other.example\"=\"10.9.9.9\"") + IpxNetwork());
  EXPECT_EQ(AddressBook("Q"), std::string(kIpxDevice).substr(0, 15));

  // Nothing over IPX: the controller's discovery value is the last resort.
  UseMachine(LocalQueue("LPR1") +
             PortKey("LPR Port", "LPR1", "\"Server Name\"=\"nowhere.invalid\"") +
             kControllerDiscovery + "\"LPR1\"=\"172.16.5.4\"\n");
  EXPECT_EQ(AddressBook("Q"), "172.16.5.4");

  EXPECT_EQ(GetIpAddressForAddressBook("Q", nullptr), 0);
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(AddressLookupTest, IpxDeviceIsFoundByItsNameIgnoringCase) {
  UseMachine(IpxNetwork());
  std::array<char, kAddressBufferSize> address{};
  ASSERT_TRUE(FindIpxDeviceByName("COPIER-A.invalid", address.data()));
  EXPECT_STREQ(address.data(), kIpxDevice);
  // Asked over IPX, one after the other, in the order the name space lists them.
  const auto sends = backend_->Sends();
  ASSERT_EQ(sends.size(), 2u);
  EXPECT_EQ(sends[0].address, kOtherIpxDevice);
  EXPECT_EQ(sends[1].session, Snmp_pp::SessionKind::kIpx);

  EXPECT_FALSE(FindIpxDeviceByName("copier-b.invalid", address.data()));
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);

  // Without the protocol nothing is looked up.
  UseMachine("");
  EXPECT_FALSE(FindIpxDeviceByName("copier-a.invalid", address.data()));
}

TEST_F(AddressLookupTest, NameSpaceKindFollowsTheFirstKnownProvider) {
  UseMachine(
      IpxNetwork("Other;Novell IPX/SPX SAP Name Provider;NWLink IPX/SPX Compatible "
                 "Transport Protocol"));
  EXPECT_EQ(IpxNameSpaceKind(), 2);
  UseMachine(IpxNetwork("nwlink ipx/spx compatible transport protocol"));
  EXPECT_EQ(IpxNameSpaceKind(), 4);
  UseMachine(IpxNetwork("") +
             "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"PlatformId\"=dword:1\n");
  EXPECT_EQ(IpxNameSpaceKind(), 3);
}

TEST_F(AddressLookupTest, ControllerAddressNeedsAHandleAndTheFaxOneOpensByName) {
  UseMachine(LocalQueue("IP_1") +
             PortKey("Standard TCP/IP Port", "IP_1", "\"IPAddress\"=\"192.168.1.20\""));
  std::array<char, kAddressBufferSize> address{};
  EXPECT_EQ(GetControllerAddress(nullptr, 0, address.data()), 0);
  EXPECT_EQ(address[0], '\0');

  QueueHandle queue;
  ASSERT_TRUE(queue.OpenByName("Q"));
  EXPECT_EQ(GetControllerAddress(queue.get(), 0, address.data()), 1);
  EXPECT_STREQ(address.data(), "192.168.1.20");

  address.fill('\0');
  EXPECT_EQ(GetControllerAddressForFax(0, address.data(), "Q", nullptr), 1);
  EXPECT_STREQ(address.data(), "192.168.1.20");
  EXPECT_EQ(GetControllerAddressForFax(0, address.data(), "No such queue", nullptr), 0);
}

// The test driver file's own entry points, reached through the library the
// module loads too.
class FaxDiscoveryTest : public DeviceTest {
 protected:
  using Answer = void (*)(int);
  using LastCall = int (*)(const char**, const char**, void**);

  FaxDiscoveryTest() : library_(dlopen(VX5PRCFG_TEST_FAX_DRIVER, RTLD_NOW | RTLD_LOCAL)) {}
  ~FaxDiscoveryTest() override {
    if (library_ != nullptr) dlclose(library_);
  }

  void UseDriver(std::string_view dependentFile) {
    std::string hex;
    for (char c : std::string(dependentFile)) {
      char byte[8];
      std::snprintf(byte, sizeof byte, "%02x,", static_cast<unsigned char>(c));
      hex += byte;
      hex += "00,";  // UTF-16LE
    }
    UseMachine(LocalQueue("FAX_1:") + std::string(kQueueKey) +
               "Q]\n\"Printer Driver\"=\"Fax Driver\"\n"
               "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows "
               "x64\\Drivers\\Version-3\\Fax Driver]\n\"Dependent Files\"=hex(7):" +
               hex + "00,00,00,00\n\"Data File\"=\"fax.gpd\"\n");
  }

  void* library_;
};

TEST_F(FaxDiscoveryTest, RoutineOfTheDriverFileIsCalledWithPathPortAndHandle) {
  ASSERT_NE(library_, nullptr) << dlerror();
  auto answer = reinterpret_cast<Answer>(dlsym(library_, "TestFaxDriverAnswer"));
  auto lastCall = reinterpret_cast<LastCall>(dlsym(library_, "TestFaxDriverLastCall"));
  UseDriver(VX5PRCFG_TEST_FAX_DRIVER);

  QueueHandle queue;
  ASSERT_TRUE(queue.OpenByName("Q"));
  answer(0);
  EXPECT_EQ(PnpFaxLocalDiscovery("Q", queue.get()), 1);
  const char* path = nullptr;
  const char* port = nullptr;
  void* handle = nullptr;
  ASSERT_EQ(lastCall(&path, &port, &handle), 1);
  EXPECT_STREQ(path, VX5PRCFG_TEST_FAX_DRIVER);  // as recorded, not lower-cased
  EXPECT_STREQ(port, "FAX_1:");
  EXPECT_EQ(handle, queue.get());

  answer(5);  // the routine's failure
  EXPECT_EQ(PnpFaxLocalDiscovery("Q", nullptr), 0);
  EXPECT_EQ(lastCall(&path, &port, &handle), 1);
}

TEST_F(FaxDiscoveryTest, DriverWithoutTheRoutineOrWithoutAFileAnswersZero) {
  UseDriver("libm.so.6");  // loads, exports no such routine
  EXPECT_EQ(PnpFaxLocalDiscovery("Q", nullptr), 0);
  UseDriver("no-such-driver-file.dll");
  EXPECT_EQ(PnpFaxLocalDiscovery("Q", nullptr), 0);
  EXPECT_EQ(PnpFaxLocalDiscovery("No such queue", nullptr), 0);
}

}  // namespace
}  // namespace device::testing
