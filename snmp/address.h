// The SNMP++ address classes: IPv4/IPv6 hosts (IpAddress), hosts with a UDP port (UdpAddress), IPX
// network:node addresses (IpxAddress) with a socket (IpxSockAddress), and GenAddress, which holds
// any of them and detects the kind from text.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace Snmp_pp {

class GenAddress;

class Address {
 public:
  enum addr_type { type_ip, type_ipx, type_udp, type_ipxsock, type_mac, type_invalid };
  enum version_type { version_ipv4, version_ipv6 };

  virtual ~Address() = default;

  bool valid() const { return valid_flag_; }
  virtual addr_type get_type() const = 0;
  // Empty text for an invalid address.
  virtual const char* get_printable() const = 0;
  operator const char*() const { return get_printable(); }  // NOLINT: SNMP++ API
  virtual std::unique_ptr<Address> clone() const = 0;

 protected:
  Address() = default;
  Address(const Address&) = default;
  Address& operator=(const Address&) = default;

  bool valid_flag_ = false;
  mutable std::string printable_;
};

class IpAddress : public Address {
 public:
  // Bytes of an IPv6 address; an IPv4 address uses the first four.
  static constexpr std::size_t kMaxAddressBytes = 16;

  IpAddress() = default;
  // Dotted IPv4, IPv6 (with an optional "%scope"), or a host name resolved by the system
  // resolver (IPv4 preferred, as SNMP++ does).
  IpAddress(const char* text);  // NOLINT(google-explicit-constructor): SNMP++ converts implicitly
  explicit IpAddress(const GenAddress& address);

  addr_type get_type() const override { return type_ip; }
  const char* get_printable() const override;
  std::unique_ptr<Address> clone() const override { return std::make_unique<IpAddress>(*this); }

  version_type get_ip_version() const { return version_; }
  const std::array<std::uint8_t, kMaxAddressBytes>& bytes() const { return bytes_; }
  std::uint32_t get_scope() const { return scope_; }
  // The name the address was built from, when it was a host name.
  const std::string& friendly_name() const { return friendly_name_; }

 protected:
  bool ParseIp(const std::string& text);
  void CopyIpFrom(const IpAddress& other);
  std::string NumericText() const;

 private:
  std::array<std::uint8_t, kMaxAddressBytes> bytes_{};
  version_type version_ = version_ipv4;
  std::uint32_t scope_ = 0;
  std::string friendly_name_;
};

class UdpAddress : public IpAddress {
 public:
  UdpAddress() = default;
  // An IpAddress text, optionally with a port: "a.b.c.d/port", "a.b.c.d:port",
  // "[v6]:port", "v6/port". Without a port the port is 0 (the default destination when sent to).
  UdpAddress(const char* text);  // NOLINT(google-explicit-constructor): SNMP++ converts implicitly
  explicit UdpAddress(const IpAddress& address);
  explicit UdpAddress(const GenAddress& address);

  addr_type get_type() const override { return type_udp; }
  const char* get_printable() const override;
  std::unique_ptr<Address> clone() const override { return std::make_unique<UdpAddress>(*this); }

  unsigned short get_port() const { return port_; }
  void set_port(unsigned short port) { port_ = port; }

 private:
  unsigned short port_ = 0;
};

class IpxAddress : public Address {
 public:
  static constexpr std::size_t kNetworkBytes = 4;
  static constexpr std::size_t kNodeBytes = 6;

  IpxAddress() = default;
  // "NNNNNNNN-HHHHHHHHHHHH" with ".", ":", "-" or " " after the network number; the node may be
  // split "HHHHHH-HHHHHH". Hex digits in either case.
  IpxAddress(const char* text);  // NOLINT(google-explicit-constructor): SNMP++ converts implicitly
  explicit IpxAddress(const GenAddress& address);

  addr_type get_type() const override { return type_ipx; }
  // 8 hex digits, "-", 12 hex digits (lower case).
  const char* get_printable() const override;
  std::unique_ptr<Address> clone() const override { return std::make_unique<IpxAddress>(*this); }

  const std::array<std::uint8_t, kNetworkBytes + kNodeBytes>& bytes() const { return bytes_; }

 protected:
  bool ParseIpx(const std::string& text);

 private:
  std::array<std::uint8_t, kNetworkBytes + kNodeBytes> bytes_{};
};

class IpxSockAddress : public IpxAddress {
 public:
  IpxSockAddress() = default;
  // An IpxAddress text with an optional "/socket" (decimal). A null text gives the library's
  // default local IPX socket address: not a valid address, socket 0.
  IpxSockAddress(const char* text);  // NOLINT(google-explicit-constructor): SNMP++ API
  explicit IpxSockAddress(const IpxAddress& address);

  addr_type get_type() const override { return type_ipxsock; }
  const char* get_printable() const override;
  std::unique_ptr<Address> clone() const override {
    return std::make_unique<IpxSockAddress>(*this);
  }

  unsigned short get_socket() const { return socket_; }
  void set_socket(unsigned short socket) { socket_ = socket; }

 private:
  unsigned short socket_ = 0;
};

class GenAddress : public Address {
 public:
  GenAddress() = default;
  // With use_type type_invalid the kind is detected, in SNMP++'s order: IPX with a socket, IPX,
  // UDP with a port, IP (which resolves host names).
  GenAddress(const char* text, addr_type use_type = type_invalid);  // NOLINT: SNMP++ API
  GenAddress(const Address& address);  // NOLINT(google-explicit-constructor): SNMP++ API
  GenAddress(const GenAddress& other);
  GenAddress& operator=(const GenAddress& other);
  GenAddress& operator=(const Address& address);

  // The held address's kind; type_invalid when empty or invalid.
  addr_type get_type() const override;
  const char* get_printable() const override;
  std::unique_ptr<Address> clone() const override { return std::make_unique<GenAddress>(*this); }

  // The held address (null when empty), for the transports.
  const Address* address() const { return address_.get(); }

 private:
  void Hold(std::unique_ptr<Address> address);

  std::unique_ptr<Address> address_;
};

}  // namespace Snmp_pp
