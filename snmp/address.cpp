#include "snmp/address.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/machine.h"
#include "snmp/socket_api.h"

namespace Snmp_pp {
namespace {

constexpr std::size_t kIpv4Bytes = 4;
constexpr std::size_t kIpv6Bytes = 16;
constexpr std::size_t kIpxNetworkDigits = 8;
constexpr std::size_t kIpxNodeDigits = 12;
constexpr std::size_t kIpxTextLength = kIpxNetworkDigits + 1 + kIpxNodeDigits;
// The node may be written as two halves joined by "-": one more character.
constexpr std::size_t kIpxSplitNodeTextLength = kIpxTextLength + 1;
constexpr std::size_t kIpxSplitNodeDashAt = kIpxNetworkDigits + 1 + kIpxNodeDigits / 2;
constexpr unsigned long kMaxPort = 65535;

std::string Trimmed(const char* text) {
  std::string s = text != nullptr ? text : "";
  const auto is_space = [](unsigned char c) { return std::isspace(c) != 0; };
  s.erase(s.begin(), std::find_if_not(s.begin(), s.end(), is_space));
  s.erase(std::find_if_not(s.rbegin(), s.rend(), is_space).base(), s.end());
  return s;
}

bool ParseUnsigned(std::string_view text, unsigned long max, unsigned long* value) {
  if (text.empty()) {
    return false;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc() && end == text.data() + text.size() && *value <= max;
}

bool ParseHexBytes(std::string_view digits, std::uint8_t* out) {
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    unsigned int byte = 0;
    const auto [end, error] = std::from_chars(digits.data() + i, digits.data() + i + 2, byte, 16);
    if (error != std::errc() || end != digits.data() + i + 2) {
      return false;
    }
    out[i / 2] = static_cast<std::uint8_t>(byte);
  }
  return digits.size() % 2 == 0 && std::all_of(digits.begin(), digits.end(),
                                               [](unsigned char c) { return std::isxdigit(c); });
}

}  // namespace

// ---- IpAddress ----

IpAddress::IpAddress(const char* text) { valid_flag_ = ParseIp(Trimmed(text)); }

IpAddress::IpAddress(const GenAddress& address) {
  const Address* held = address.address();
  if (held != nullptr && held->valid() &&
      (held->get_type() == type_ip || held->get_type() == type_udp)) {
    CopyIpFrom(static_cast<const IpAddress&>(*held));
  }
}

bool IpAddress::ParseIp(const std::string& text) {
  if (text.empty()) {
    return false;
  }
  if (inet_pton(AF_INET, text.c_str(), bytes_.data()) == 1) {
    version_ = version_ipv4;
    return true;
  }
  const std::size_t percent = text.find('%');
  const std::string host = text.substr(0, percent);
  if (inet_pton(AF_INET6, host.c_str(), bytes_.data()) == 1) {
    version_ = version_ipv6;
    if (percent != std::string::npos) {
      const std::string scope = text.substr(percent + 1);
      unsigned long index = 0;
      if (ParseUnsigned(scope, UINT32_MAX, &index)) {
        scope_ = static_cast<std::uint32_t>(index);
      } else {
        scope_ = if_nametoindex(scope.c_str());
        if (scope_ == 0) {
          return false;
        }
      }
    }
    return true;
  }
  if (percent != std::string::npos) {
    return false;
  }
  // Host names go to the machine's resolver, as the system's resolver would
  // answer them on Windows (the simulated machine's host table first).
  platform::NameResolver* resolver = platform::CurrentMachine().network().BindNameResolver();
  std::vector<platform::SocketAddress> addresses;
  if (resolver == nullptr ||
      resolver->GetAddrInfo(text, platform::AddressFamily::Unspecified, &addresses) != 0) {
    return false;
  }
  const platform::SocketAddress* chosen = nullptr;
  for (const platform::SocketAddress& entry : addresses) {
    if (entry.family == platform::AddressFamily::Inet) {
      chosen = &entry;
      break;
    }
    if (entry.family == platform::AddressFamily::Inet6 && chosen == nullptr) {
      chosen = &entry;
    }
  }
  if (chosen == nullptr) {
    return false;
  }
  if (chosen->family == platform::AddressFamily::Inet) {
    std::memcpy(bytes_.data(), chosen->bytes.data(), kIpv4Bytes);
    version_ = version_ipv4;
  } else {
    std::memcpy(bytes_.data(), chosen->bytes.data(), kIpv6Bytes);
    scope_ = chosen->scopeId;
    version_ = version_ipv6;
  }
  friendly_name_ = text;
  return true;
}

void IpAddress::CopyIpFrom(const IpAddress& other) {
  bytes_ = other.bytes_;
  version_ = other.version_;
  scope_ = other.scope_;
  friendly_name_ = other.friendly_name_;
  valid_flag_ = other.valid_flag_;
}

std::string IpAddress::NumericText() const {
  if (!valid_flag_) {
    return {};
  }
  char text[INET6_ADDRSTRLEN] = {};
  inet_ntop(version_ == version_ipv4 ? AF_INET : AF_INET6, bytes_.data(), text, sizeof text);
  std::string result = text;
  if (version_ == version_ipv6 && scope_ != 0) {
    result += "%" + std::to_string(scope_);
  }
  return result;
}

const char* IpAddress::get_printable() const {
  printable_ = NumericText();
  return printable_.c_str();
}

// ---- UdpAddress ----

UdpAddress::UdpAddress(const char* text) {
  const std::string s = Trimmed(text);
  std::string host = s;
  std::string port;
  bool has_port = false;
  if (!s.empty() && s.front() == '[') {
    const std::size_t close = s.find(']');
    if (close == std::string::npos) {
      return;
    }
    host = s.substr(1, close - 1);
    if (close + 1 < s.size()) {
      if (s[close + 1] != ':' && s[close + 1] != '/') {
        return;
      }
      port = s.substr(close + 2);
      has_port = true;
    }
  } else if (const std::size_t slash = s.rfind('/'); slash != std::string::npos) {
    host = s.substr(0, slash);
    port = s.substr(slash + 1);
    has_port = true;
  } else if (std::count(s.begin(), s.end(), ':') == 1) {
    const std::size_t colon = s.find(':');
    host = s.substr(0, colon);
    port = s.substr(colon + 1);
    has_port = true;
  }
  unsigned long port_value = 0;
  if (has_port && !ParseUnsigned(port, kMaxPort, &port_value)) {
    return;
  }
  valid_flag_ = ParseIp(host);
  port_ = static_cast<unsigned short>(port_value);
}

UdpAddress::UdpAddress(const IpAddress& address) { CopyIpFrom(address); }

UdpAddress::UdpAddress(const GenAddress& address) {
  const Address* held = address.address();
  if (held == nullptr || !held->valid()) {
    return;
  }
  if (held->get_type() == type_udp) {
    *this = static_cast<const UdpAddress&>(*held);
  } else if (held->get_type() == type_ip) {
    CopyIpFrom(static_cast<const IpAddress&>(*held));
  }
}

const char* UdpAddress::get_printable() const {
  if (!valid_flag_) {
    printable_.clear();
  } else if (get_ip_version() == version_ipv6) {
    printable_ = "[" + NumericText() + "]/" + std::to_string(port_);
  } else {
    printable_ = NumericText() + "/" + std::to_string(port_);
  }
  return printable_.c_str();
}

// ---- IpxAddress ----

IpxAddress::IpxAddress(const char* text) {
  if (text != nullptr) {
    valid_flag_ = ParseIpx(Trimmed(text));
  }
}

IpxAddress::IpxAddress(const GenAddress& address) {
  const Address* held = address.address();
  if (held != nullptr && held->valid() &&
      (held->get_type() == type_ipx || held->get_type() == type_ipxsock)) {
    bytes_ = static_cast<const IpxAddress&>(*held).bytes_;
    valid_flag_ = true;
  }
}

bool IpxAddress::ParseIpx(const std::string& text) {
  std::string s = text;
  if (s.size() == kIpxSplitNodeTextLength && s[kIpxSplitNodeDashAt] == '-') {
    s.erase(kIpxSplitNodeDashAt, 1);
  }
  if (s.size() != kIpxTextLength) {
    return false;
  }
  const char separator = s[kIpxNetworkDigits];
  if (separator != ':' && separator != '.' && separator != '-' && separator != ' ') {
    return false;
  }
  const std::string_view view(s);
  return ParseHexBytes(view.substr(0, kIpxNetworkDigits), bytes_.data()) &&
         ParseHexBytes(view.substr(kIpxNetworkDigits + 1), bytes_.data() + kNetworkBytes);
}

const char* IpxAddress::get_printable() const {
  if (!valid_flag_) {
    printable_.clear();
    return printable_.c_str();
  }
  char text[kIpxTextLength + 1];
  std::snprintf(text, sizeof text, "%02x%02x%02x%02x-%02x%02x%02x%02x%02x%02x", bytes_[0],
                bytes_[1], bytes_[2], bytes_[3], bytes_[4], bytes_[5], bytes_[6], bytes_[7],
                bytes_[8], bytes_[9]);
  printable_ = text;
  return printable_.c_str();
}

// ---- IpxSockAddress ----

IpxSockAddress::IpxSockAddress(const char* text) {
  if (text == nullptr) {
    return;
  }
  std::string s = Trimmed(text);
  if (const std::size_t slash = s.find('/'); slash != std::string::npos) {
    // SNMP++ reads the socket with atoi: leading digits count, anything else is 0.
    socket_ = static_cast<unsigned short>(std::strtoul(s.c_str() + slash + 1, nullptr, 10));
    s.erase(slash);
  }
  valid_flag_ = ParseIpx(s);
}

IpxSockAddress::IpxSockAddress(const IpxAddress& address) : IpxAddress(address) {}

const char* IpxSockAddress::get_printable() const {
  const std::string ipx = IpxAddress::get_printable();
  printable_ = valid_flag_ ? ipx + "/" + std::to_string(socket_) : std::string();
  return printable_.c_str();
}

// ---- GenAddress ----

GenAddress::GenAddress(const char* text, addr_type use_type) {
  if (text == nullptr) {
    return;
  }
  const bool any = use_type == type_invalid;
  if (any || use_type == type_ipxsock) {
    auto ipxsock = std::make_unique<IpxSockAddress>(text);
    if (ipxsock->valid() && ipxsock->get_socket() != 0) {
      Hold(std::move(ipxsock));
      return;
    }
  }
  if (any || use_type == type_ipx) {
    auto ipx = std::make_unique<IpxAddress>(text);
    if (ipx->valid()) {
      Hold(std::move(ipx));
      return;
    }
  }
  if (any || use_type == type_udp || use_type == type_ip) {
    // One parse serves both kinds: a UDP text without a port is an IP address, so a host name is
    // looked up once.
    auto udp = std::make_unique<UdpAddress>(text);
    if (udp->valid() && udp->get_port() != 0 && (any || use_type == type_udp)) {
      Hold(std::move(udp));
      return;
    }
    if (udp->valid() && udp->get_port() == 0 && (any || use_type == type_ip)) {
      Hold(std::make_unique<IpAddress>(*udp));  // slices the port away on purpose
      return;
    }
  }
}

GenAddress::GenAddress(const Address& address) : Address() { *this = address; }

GenAddress::GenAddress(const GenAddress& other) : Address() { *this = other; }

GenAddress& GenAddress::operator=(const GenAddress& other) {
  if (this != &other) {
    Hold(other.address_ ? other.address_->clone() : nullptr);
  }
  return *this;
}

GenAddress& GenAddress::operator=(const Address& address) {
  if (this == &address) {
    return *this;
  }
  if (const auto* gen = dynamic_cast<const GenAddress*>(&address)) {
    return *this = *gen;
  }
  Hold(address.clone());
  return *this;
}

void GenAddress::Hold(std::unique_ptr<Address> address) {
  address_ = std::move(address);
  valid_flag_ = address_ != nullptr && address_->valid();
}

Address::addr_type GenAddress::get_type() const {
  return valid_flag_ ? address_->get_type() : type_invalid;
}

const char* GenAddress::get_printable() const {
  return valid_flag_ ? address_->get_printable() : "";
}

}  // namespace Snmp_pp
