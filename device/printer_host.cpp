#include "device/printer_host.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "device/ansi_text.h"
#include "device/device_address.h"
#include "device/port_monitors.h"
#include "device/printer_queue.h"
#include "device/registry_text.h"
#include "platform/machine.h"

namespace device {
namespace {

using platform::PrinterInfo2;

// Registry values and host texts are read into buffers of this size.
constexpr std::size_t kHostTextSize = 255;

constexpr std::string_view kUrlValue = "Url";
constexpr std::string_view kIpAddressValue = "IPAddress";
constexpr std::string_view kHostNameValue = "HostName";
constexpr std::string_view kServerNameValue = "Server Name";
constexpr std::string_view kHttpPrefix = "http://";

// Every kind of printer the spooler knows: local, connections, by name,
// remote, shared and network (PRINTER_ENUM_* 0x02 to 0x40).
constexpr std::uint32_t kEnumAllPrinters = 0x7E;

struct Answer {
  int result;
  std::optional<std::string> host;  // none: the caller's text stays as it was
};

bool StartsWithBackslash(std::string_view text) {
  return (!text.empty() && text[0] == '\\') || (text.size() > 1 && text[1] == '\\');
}

bool IsNumericHost(std::string_view text) {
  return std::ranges::all_of(text, [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

std::vector<PrinterInfo2> Printers(std::uint32_t flags) {
  return platform::CurrentMachine().spooler().EnumPrinters(flags, {});
}

const PrinterInfo2* FirstNamed(const std::vector<PrinterInfo2>& printers, std::string_view name) {
  const auto found = std::ranges::find_if(
      printers, [&](const PrinterInfo2& p) { return EqualsIgnoringCase(p.printerName, name); });
  return found == printers.end() ? nullptr : &*found;
}

// A text value of the key `base` + `port`, as a 255-byte buffer holds it.
std::optional<std::string> PortValue(std::string_view base, std::string_view port,
                                     std::string_view value) {
  const auto key = OpenKey(platform::Hive::LocalMachine, PortKeyPath(base, port));
  if (key == nullptr) return std::nullopt;
  std::array<char, kHostTextSize> text{};
  if (!ReadTextInto(*key, value, text.data(), text.size(), text.size())) return std::nullopt;
  return std::string(TextIn(text.data(), text.size()));
}

// The host of a URL: after the first run of "/" up to the next "/".
std::optional<std::string_view> UrlHost(std::string_view url) {
  const std::size_t slash = url.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::size_t start = url.find_first_not_of('/', slash);
  if (start == std::string_view::npos) return std::string_view();
  return url.substr(start, url.find('/', start) - start);
}

// Sources 2 to 8, each answering or passing with nullopt.

std::optional<Answer> FromNetworkPrinters(std::string_view name) {
  std::optional<Answer> answer;
  for (const PrinterInfo2& printer : Printers(platform::kPrinterEnumNetwork)) {
    if (!EqualsIgnoringCase(printer.printerName, name)) continue;
    if ((printer.attributes & platform::kPrinterAttributeNetwork) != 0) {
      return Answer{kPrinterHostName, std::string(ServerPart(printer.portName))};
    }
    answer = Answer{kPrinterHostName, std::nullopt};
  }
  return answer;
}

std::optional<Answer> FromLocalPrinter(std::string_view name) {
  const auto printers = Printers(platform::kPrinterEnumLocal);
  const PrinterInfo2* printer = FirstNamed(printers, name);
  if (printer == nullptr) return std::nullopt;
  const std::string& port = printer->portName;
  if (StartsWithBackslash(port) || IsWindows9x()) {
    return Answer{kPrinterHostName, port.starts_with('\\') ? std::string(ServerPart(port)) : port};
  }
  const auto url = PortValue(kAippPortsKey, port, kUrlValue);
  if (!url) return std::nullopt;
  const auto host = UrlHost(*url);
  // A named host here is left to the sources that follow.
  if (!host || !IsNumericHost(*host)) return std::nullopt;
  return Answer{kPrinterHostNumeric, std::string(*host)};
}

std::optional<Answer> FromConnection(std::string_view name) {
  const auto printers = Printers(platform::kPrinterEnumConnections);
  const auto found = std::ranges::find_if(
      printers, [&](const PrinterInfo2& p) { return EqualsIgnoringCase(p.driverName, name); });
  if (found == printers.end()) return std::nullopt;
  if (StartsWithBackslash(found->printerName)) {
    return Answer{kPrinterHostName, std::string(ServerPart(found->printerName))};
  }
  return Answer{kPrinterHostName, std::nullopt};
}

std::optional<Answer> FromPortMonitors(std::string_view name) {
  const auto printers = Printers(platform::kPrinterEnumLocal);
  const auto last = std::ranges::find_if(printers.rbegin(), printers.rend(), [&](const auto& p) {
    return EqualsIgnoringCase(p.printerName, name);
  });
  if (last == printers.rend()) return std::nullopt;
  const std::string& port = last->portName;
  if (const auto address = PortValue(kStandardTcpIpPortsKey, port, kIpAddressValue);
      address && !address->empty()) {
    return Answer{kPrinterHostNumeric, *address};
  }
  if (const auto hostName = PortValue(kStandardTcpIpPortsKey, port, kHostNameValue);
      hostName && !hostName->empty()) {
    return Answer{kPrinterHostName, *hostName};
  }
  if (const auto server = PortValue(kLprPortsKey, port, kServerNameValue);
      server && !server->empty()) {
    return Answer{IsNumericHost(*server) ? kPrinterHostNumeric : kPrinterHostName, *server};
  }
  return std::nullopt;
}

std::optional<Answer> FromAllPrinters(std::string_view name) {
  const auto printers = Printers(kEnumAllPrinters);
  const PrinterInfo2* printer = FirstNamed(printers, name);
  if (printer == nullptr) return std::nullopt;
  if (StartsWithBackslash(printer->portName)) {
    return Answer{kPrinterHostName, std::string(ServerPart(printer->portName))};
  }
  return Answer{kPrinterHostName, std::nullopt};
}

std::optional<Answer> FromInternetPort(const char* name, platform::PrinterHandle handle) {
  QueueHandle queue(handle);
  const auto record = GetPrinterInfo(name, queue);
  if (record == nullptr) return std::nullopt;
  const std::string_view port = record->portName;
  if (OpenKey(platform::Hive::LocalMachine, PortKeyPath(kInternetPortsKey, port)) == nullptr ||
      !port.starts_with(kHttpPrefix)) {
    return std::nullopt;
  }
  const std::string_view rest = port.substr(kHttpPrefix.size());
  const std::size_t colon = rest.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  return Answer{kPrinterHostName, std::string(rest.substr(0, colon))};
}

std::optional<Answer> FromUncName(std::string_view name) {
  if (!name.starts_with("\\\\")) return std::nullopt;
  const std::size_t slash = name.find('\\', 2);
  if (slash == std::string_view::npos || slash == 2 || slash + 1 >= name.size()) {
    return std::nullopt;
  }
  return Answer{kPrinterHostName, std::string(ServerPart(name))};
}

std::optional<Answer> Search(const char* printerName, platform::PrinterHandle queue) {
  const std::string_view name = printerName;
  if (name.ends_with(','))
    return Answer{kPrinterHostName, std::string(name.substr(0, name.size() - 1))};
  if (auto answer = FromNetworkPrinters(name)) return answer;
  if (auto answer = FromLocalPrinter(name)) return answer;
  if (auto answer = FromConnection(name)) return answer;
  if (auto answer = FromPortMonitors(name)) return answer;
  if (auto answer = FromAllPrinters(name)) return answer;
  if (auto answer = FromInternetPort(printerName, queue)) return answer;
  return FromUncName(name);
}

}  // namespace

std::string_view ServerPart(std::string_view text) {
  const std::size_t start = std::min(text.find_first_not_of('\\'), text.size());
  text.remove_prefix(start);
  return text.substr(0, text.find('\\'));
}

int FindPrinterHost(const char* printerName, char* host, platform::PrinterHandle queue) {
  if (printerName == nullptr || host == nullptr) return kNoPrinterHost;
  try {
    const auto answer = Search(printerName, queue);
    if (!answer) return kNoPrinterHost;
    if (answer->host) CopyBounded(host, kPrinterHostSize, *answer->host);
    return answer->result;
  } catch (...) {
    return kNoPrinterHost;
  }
}

}  // namespace device
