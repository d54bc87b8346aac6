#include "platform/win32/win32_spooler.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// Where GetPrinterDataA and DeletePrinterDataA keep a queue's values.
constexpr char kPrinterDataKey[] = "PrinterDriverData";

std::string Text(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

PrinterInfo2 FromRecord(const PRINTER_INFO_2A& record) {
  PrinterInfo2 info;
  info.serverName = Text(record.pServerName);
  info.printerName = Text(record.pPrinterName);
  info.shareName = Text(record.pShareName);
  info.portName = Text(record.pPortName);
  info.driverName = Text(record.pDriverName);
  info.comment = Text(record.pComment);
  info.location = Text(record.pLocation);
  info.printProcessor = Text(record.pPrintProcessor);
  info.datatype = Text(record.pDatatype);
  info.parameters = Text(record.pParameters);
  info.attributes = record.Attributes;
  info.status = record.Status;
  return info;
}

// A multi_sz: texts separated by NULs, ending with an empty one.
std::vector<std::string> Texts(const char* list) {
  std::vector<std::string> texts;
  for (const char* text = list; text != nullptr && *text != '\0'; text += texts.back().size() + 1) {
    texts.emplace_back(text);
  }
  return texts;
}

// The spooler's two-call pattern: ask the size, then fill a buffer of it.
// `call` gets the buffer and its size and reports the size it needs. Null
// when the call fails otherwise.
template <class Call>
std::optional<std::vector<BYTE>> Fetch(Call call) {
  DWORD needed = 0;
  if (call(nullptr, 0, &needed) != FALSE) return std::vector<BYTE>();
  // The buffer can grow between the two calls (a printer added meanwhile).
  for (int attempt = 0; attempt < 3 && GetLastError() == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
    std::vector<BYTE> buffer(needed);
    if (call(buffer.data(), needed, &needed) != FALSE) return buffer;
  }
  return std::nullopt;
}

}  // namespace

PrinterHandle Win32Spooler::OpenPrinter(std::string_view queueName) {
  std::string name(queueName);  // the API wants it NUL-terminated and writable
  HANDLE handle = nullptr;
  if (::OpenPrinterA(name.data(), &handle, nullptr) == FALSE) return nullptr;
  return handle;
}

bool Win32Spooler::ClosePrinter(PrinterHandle handle) {
  return handle != nullptr && ::ClosePrinter(handle) != FALSE;
}

std::optional<PrinterInfo2> Win32Spooler::GetPrinter(PrinterHandle handle) {
  if (handle == nullptr) return std::nullopt;
  const auto buffer = Fetch([&](BYTE* data, DWORD size, DWORD* needed) {
    return ::GetPrinterA(handle, 2, data, size, needed);
  });
  if (!buffer || buffer->size() < sizeof(PRINTER_INFO_2A)) return std::nullopt;
  return FromRecord(*reinterpret_cast<const PRINTER_INFO_2A*>(buffer->data()));
}

std::uint32_t Win32Spooler::GetPrinterData(PrinterHandle handle, std::string_view valueName,
                                           std::uint32_t* type, void* data, std::uint32_t capacity,
                                           std::uint32_t* needed) {
  std::string name(valueName);
  DWORD valueType = REG_NONE;
  DWORD size = 0;
  const DWORD result =
      ::GetPrinterDataA(handle, name.data(), &valueType, static_cast<BYTE*>(data), capacity, &size);
  if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
    if (type != nullptr) *type = valueType;
    if (needed != nullptr) *needed = size;
  }
  return result;
}

// DeletePrinterDataA(handle, name) is DeletePrinterDataExA under the key
// "PrinterDriverData"; Wine has only the latter (a call of the former ends
// the process there).
std::uint32_t Win32Spooler::DeletePrinterData(PrinterHandle handle, std::string_view valueName) {
  const std::string name(valueName);
  return ::DeletePrinterDataExA(handle, kPrinterDataKey, name.c_str());
}

std::vector<PrinterInfo2> Win32Spooler::EnumPrinters(std::uint32_t flags, std::string_view name) {
  std::string server(name);
  DWORD count = 0;
  const auto buffer = Fetch([&](BYTE* data, DWORD size, DWORD* needed) {
    return ::EnumPrintersA(flags, server.empty() ? nullptr : server.data(), 2, data, size, needed,
                           &count);
  });
  std::vector<PrinterInfo2> records;
  if (!buffer || buffer->size() < count * sizeof(PRINTER_INFO_2A)) return records;
  const auto* entries = reinterpret_cast<const PRINTER_INFO_2A*>(buffer->data());
  for (DWORD i = 0; i < count; ++i) records.push_back(FromRecord(entries[i]));
  return records;
}

std::optional<DriverInfo3> Win32Spooler::GetPrinterDriver(PrinterHandle handle) {
  if (handle == nullptr) return std::nullopt;
  const auto buffer = Fetch([&](BYTE* data, DWORD size, DWORD* needed) {
    return ::GetPrinterDriverA(handle, nullptr, 3, data, size, needed);
  });
  if (!buffer || buffer->size() < sizeof(DRIVER_INFO_3A)) return std::nullopt;
  const auto& record = *reinterpret_cast<const DRIVER_INFO_3A*>(buffer->data());
  DriverInfo3 info;
  info.name = Text(record.pName);
  info.environment = Text(record.pEnvironment);
  info.driverPath = Text(record.pDriverPath);
  info.dataFile = Text(record.pDataFile);
  info.configFile = Text(record.pConfigFile);
  info.helpFile = Text(record.pHelpFile);
  info.dependentFiles = Texts(record.pDependentFiles);
  return info;
}

}  // namespace platform::win32
