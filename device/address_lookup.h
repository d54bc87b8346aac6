// A device's address as plain text for the driver's other components: the
// address book's dotted quad, the IPX address of a device found by name over
// the IPX name space, the controller client's discovery value, and the
// controller addresses of the fax and job tools.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/spooler.h"

namespace device {

// The address-book text: exactly this many characters, no NUL.
inline constexpr std::size_t kAddressBookTextLength = 15;
inline constexpr std::string_view kNoAddressBookAddress = "000.000.000.000";

// The controller client's discovery results (HKEY_LOCAL_MACHINE), value
// name = port name.
inline constexpr std::string_view kControllerDiscoveryKey =
    "Software\\RV-4410\\Norvane k-Orbita RV-4410 Client\\LM-JobVue\\PrinterDiscovery";
// The device's name, which a device found over IPX must answer with.
inline constexpr const char* kDeviceNameOid = "1.3.6.1.4.1.1129.2.3.50.1.2.3.1.2.1";

// The name-space look-up of IPX services: the query record's size, the
// service class (text byte order) and the name space.
inline constexpr std::uint32_t kServiceQuerySize = 120;
inline constexpr std::array<std::uint8_t, 16> kIpxServiceClass = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
inline constexpr std::string_view kSapNameProvider = "Novell IPX/SPX SAP Name Provider";
inline constexpr std::string_view kNwLinkProvider = "NWLink IPX/SPX Compatible Transport Protocol";
// From this kind on the look-up names every instance ("*").
inline constexpr int kIpxKindWithInstanceName = 4;

// GetIPAddressForAddrBk: the printer's address into `address` as exactly
// kAddressBookTextLength characters (the caller's buffer is zeroed and holds
// one more). 1, or 0 for a null `address`.
int GetIpAddressForAddressBook(const char* printerName, char* address);

// The IPX address text ("nnnnnnnn-hhhhhhhhhhhh") of the first service the IPX
// name space lists whose device answers to `name`, into `address`
// (kAddressBufferSize bytes). False when none does.
bool FindIpxDeviceByName(const char* name, char* address);

// Whether the device at `address` (any address text) answers its name query
// with `name`, ignoring case.
bool MatchIpxDeviceName(std::string_view address, const char* name);

// Which IPX name-space provider the system has: 1 + T for the SAP name
// provider, 4 for NWLink, else 3 + T (T = 1 on the NT family).
int IpxNameSpaceKind();

// The controller client's discovery value for the queue's port into `out`
// (kAddressBufferSize bytes); empty when there is none. Always 1.
int ReadControllerDiscoveryValue(const char* queueName, char* out);

// The IPX address of the device behind `deviceAddress` (found over IPX by that
// name) or, failing that, the discovery value of `queueName`, into `out`
// (kAddressBufferSize bytes). False when both are empty.
bool LookUpIpxAddress(const char* deviceAddress, const char* queueName, char* out);

// GetControllerAddress / GetControllerAddressforFax: the queue's device
// address into `address` (kAddressBufferSize bytes). 1 when found, else 0.
int GetControllerAddress(platform::PrinterHandle queue, int variant, char* address);
int GetControllerAddressForFax(int variant, char* address, const char* queueName,
                               platform::PrinterHandle queue);

}  // namespace device
