#include "platform/simulated/simulated_spooler.h"

#include <utility>

#include "platform/simulated/code_pages.h"
#include "platform/simulated/simulated_registry.h"
#include "platform/win_types.h"

namespace platform::simulated {
namespace {

constexpr std::u16string_view kUncPrefix = u"\\\\";

bool IsConnection(const RegistryNode& queue) {
  const RegistryValue* server = queue.FindValue(u"Server Name");
  return server != nullptr && !StringFromValueData(server->data).empty();
}

std::uint32_t Attributes(const RegistryNode& key, std::uint32_t fallback) {
  const RegistryValue* value = key.FindValue(u"Attributes");
  if (value == nullptr || value->type != RegType::Dword || value->data.size() != 4) return fallback;
  return static_cast<std::uint32_t>(value->data[0] | (value->data[1] << 8) |
                                    (value->data[2] << 16) |
                                    (static_cast<std::uint32_t>(value->data[3]) << 24));
}

// "\\server", "server" and "\\server\" all name the same print server.
std::u16string_view ServerPart(std::u16string_view name) {
  while (!name.empty() && name.front() == u'\\') name.remove_prefix(1);
  return name.substr(0, name.find(u'\\'));
}

}  // namespace

SimulatedSpooler::SimulatedSpooler(std::shared_ptr<RegistryTree> tree, std::uint32_t ansiCodePage,
                                   std::string driverDirectory)
    : tree_(std::move(tree)),
      ansiCodePage_(ansiCodePage),
      driverDirectory_(std::move(driverDirectory)) {}

SimulatedSpooler::~SimulatedSpooler() = default;

RegistryNode* SimulatedSpooler::FindQueue(std::u16string_view name) const {
  RegistryNode* printers = tree_->Find(Hive::LocalMachine, kPrintersKey);
  if (printers == nullptr || name.empty()) return nullptr;
  if (RegistryNode* queue = printers->FindSubKey(name)) return queue;
  // A connected queue also answers to its full name, "\\server\queue".
  if (!name.starts_with(kUncPrefix)) return nullptr;
  const std::size_t slash = name.find(u'\\', kUncPrefix.size());
  if (slash == std::u16string_view::npos) return nullptr;
  RegistryNode* queue = printers->FindSubKey(name.substr(slash + 1));
  if (queue == nullptr || !IsConnection(*queue)) return nullptr;
  const RegistryValue* server = queue->FindValue(u"Server Name");
  return EqualsIgnoringCase(ServerPart(StringFromValueData(server->data)), ServerPart(name))
             ? queue
             : nullptr;
}

RegistryNode* SimulatedSpooler::QueueOf(PrinterHandle handle) const {
  const auto it = handles_.find(handle);
  return it == handles_.end() ? nullptr : it->second->queue;
}

PrinterHandle SimulatedSpooler::OpenPrinter(std::string_view queueName) {
  RegistryNode* queue = FindQueue(FromAnsi(ansiCodePage_, queueName));
  if (queue == nullptr) return nullptr;
  auto open = std::make_unique<OpenQueue>(OpenQueue{queue});
  PrinterHandle handle = open.get();
  handles_.emplace(handle, std::move(open));
  return handle;
}

bool SimulatedSpooler::ClosePrinter(PrinterHandle handle) { return handles_.erase(handle) > 0; }

bool SimulatedSpooler::AdoptCallerQueue(std::string_view queueName) {
  RegistryNode* queue = FindQueue(FromAnsi(ansiCodePage_, queueName));
  if (queue == nullptr) return false;
  handles_.insert_or_assign(kCallerQueueHandle, std::make_unique<OpenQueue>(OpenQueue{queue}));
  return true;
}

std::string SimulatedSpooler::Text(const RegistryNode& key, std::u16string_view valueName) const {
  const RegistryValue* value = key.FindValue(valueName);
  if (value == nullptr) return {};
  return ToAnsi(ansiCodePage_, StringFromValueData(value->data));
}

PrinterInfo2 SimulatedSpooler::QueueRecord(const RegistryNode& queue) const {
  const bool connection = IsConnection(queue);
  PrinterInfo2 record;
  record.serverName = Text(queue, u"Server Name");
  // Windows names a connected queue after its server: "\\server\queue".
  record.printerName = connection ? record.serverName + "\\" + ToAnsi(ansiCodePage_, queue.name())
                                  : ToAnsi(ansiCodePage_, queue.name());
  record.shareName = Text(queue, u"Share Name");
  record.portName = Text(queue, u"Port");
  record.driverName = Text(queue, u"Printer Driver");
  record.comment = Text(queue, u"Description");
  record.location = Text(queue, u"Location");
  record.printProcessor = Text(queue, u"Print Processor");
  record.datatype = Text(queue, u"Datatype");
  record.parameters = Text(queue, u"Parameters");
  record.attributes =
      Attributes(queue, connection ? kPrinterAttributeNetwork : kPrinterAttributeLocal);
  return record;
}

PrinterInfo2 SimulatedSpooler::BrowseRecord(const RegistryNode& entry) const {
  PrinterInfo2 record;
  record.printerName = ToAnsi(ansiCodePage_, entry.name());
  record.serverName = Text(entry, u"Server Name");
  record.portName = Text(entry, u"Port");
  record.driverName = Text(entry, u"Printer Driver");
  record.comment = Text(entry, u"Description");
  record.attributes = Attributes(entry, kPrinterAttributeNetwork);
  return record;
}

std::optional<PrinterInfo2> SimulatedSpooler::GetPrinter(PrinterHandle handle) {
  const RegistryNode* queue = QueueOf(handle);
  if (queue == nullptr) return std::nullopt;
  return QueueRecord(*queue);
}

std::uint32_t SimulatedSpooler::GetPrinterData(PrinterHandle handle, std::string_view valueName,
                                               std::uint32_t* type, void* data,
                                               std::uint32_t capacity, std::uint32_t* needed) {
  const RegistryNode* queue = QueueOf(handle);
  if (queue == nullptr) return kErrorInvalidHandle;
  const RegistryNode* printerData = queue->FindSubKey(kPrinterDataSubKey);
  const RegistryValue* value =
      printerData ? printerData->FindValue(FromAnsi(ansiCodePage_, valueName)) : nullptr;
  if (value == nullptr) return kErrorFileNotFound;
  if (type != nullptr) *type = static_cast<std::uint32_t>(value->type);
  return CopyValueData(AnsiValueData(*value, ansiCodePage_), data, capacity, needed);
}

std::uint32_t SimulatedSpooler::DeletePrinterData(PrinterHandle handle,
                                                  std::string_view valueName) {
  RegistryNode* queue = QueueOf(handle);
  if (queue == nullptr) return kErrorInvalidHandle;
  RegistryNode* printerData = queue->FindSubKey(kPrinterDataSubKey);
  if (printerData == nullptr || !printerData->DeleteValue(FromAnsi(ansiCodePage_, valueName))) {
    return kErrorFileNotFound;
  }
  return kErrorSuccess;
}

std::vector<PrinterInfo2> SimulatedSpooler::EnumPrinters(std::uint32_t flags,
                                                         std::string_view name) {
  const std::u16string server = FromAnsi(ansiCodePage_, name);
  const bool byServer = (flags & kPrinterEnumName) != 0 && !server.empty();
  // Asked by name without a name, the spooler lists this machine's queues.
  const bool local = (flags & kPrinterEnumLocal) != 0 || ((flags & kPrinterEnumName) && !byServer);
  const bool connections = (flags & kPrinterEnumConnections) != 0;
  const auto fromServer = [&](const std::string& serverName) {
    return byServer &&
           EqualsIgnoringCase(ServerPart(FromAnsi(ansiCodePage_, serverName)), ServerPart(server));
  };

  std::vector<PrinterInfo2> records;
  if (const RegistryNode* printers = tree_->Find(Hive::LocalMachine, kPrintersKey)) {
    for (std::size_t i = 0; i < printers->SubKeyCount(); ++i) {
      const RegistryNode& queue = *printers->SubKeyAt(i);
      PrinterInfo2 record = QueueRecord(queue);
      const bool wanted =
          IsConnection(queue) ? connections || fromServer(record.serverName) : local;
      if (wanted) records.push_back(std::move(record));
    }
  }
  if (const RegistryNode* browse = tree_->Find(Hive::LocalMachine, kNetworkPrintersKey)) {
    for (std::size_t i = 0; i < browse->SubKeyCount(); ++i) {
      PrinterInfo2 record = BrowseRecord(*browse->SubKeyAt(i));
      if ((flags & kPrinterEnumNetwork) != 0 || fromServer(record.serverName)) {
        records.push_back(std::move(record));
      }
    }
  }
  return records;
}

std::string SimulatedSpooler::DriverFile(std::string file) const {
  const bool bare = !file.empty() && file.find_first_of("/\\") == std::string::npos;
  if (bare && !driverDirectory_.empty()) return driverDirectory_ + "/" + file;
  return file;
}

std::optional<DriverInfo3> SimulatedSpooler::GetPrinterDriver(PrinterHandle handle) {
  const RegistryNode* queue = QueueOf(handle);
  if (queue == nullptr) return std::nullopt;
  const RegistryValue* driverName = queue->FindValue(u"Printer Driver");
  const RegistryNode* drivers = tree_->Find(Hive::LocalMachine, kDriversKey);
  if (driverName == nullptr || drivers == nullptr) return std::nullopt;
  const RegistryNode* driver = drivers->FindSubKey(StringFromValueData(driverName->data));
  if (driver == nullptr) return std::nullopt;

  DriverInfo3 record;
  record.name = ToAnsi(ansiCodePage_, driver->name());
  record.environment = kDriverEnvironment;
  record.driverPath = DriverFile(Text(*driver, u"Driver"));
  record.dataFile = DriverFile(Text(*driver, u"Data File"));
  record.configFile = DriverFile(Text(*driver, u"Configuration File"));
  record.helpFile = DriverFile(Text(*driver, u"Help File"));
  if (const RegistryValue* dependent = driver->FindValue(u"Dependent Files")) {
    // A multi_sz: NUL-separated texts ending in an empty one.
    const std::vector<std::uint8_t> bytes = AnsiValueData(*dependent, ansiCodePage_);
    std::string current;
    for (std::uint8_t byte : bytes) {
      if (byte != 0) {
        current.push_back(static_cast<char>(byte));
        continue;
      }
      if (current.empty()) break;
      record.dependentFiles.push_back(DriverFile(std::move(current)));
      current.clear();
    }
    if (!current.empty()) record.dependentFiles.push_back(DriverFile(std::move(current)));
  }
  return record;
}

}  // namespace platform::simulated
