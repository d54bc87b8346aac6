// The print spooler of the simulated machine: queues, their printer data and
// drivers, and the network browse list, all read from the profile's registry.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/simulated/registry_tree.h"
#include "platform/spooler.h"

namespace platform::simulated {

// Where the profile describes the spooler (under HKEY_LOCAL_MACHINE).
inline constexpr std::u16string_view kPrintersKey =
    u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
inline constexpr std::u16string_view kPrinterDataSubKey = u"PrinterDriverData";
inline constexpr std::u16string_view kDriversKey =
    u"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3";
inline constexpr std::string_view kDriverEnvironment = "Windows x64";
inline constexpr std::u16string_view kNetworkPrintersKey =
    u"SOFTWARE\\SimulatedMachine\\NetworkPrinters";

// A queue the caller (prcfg's "@QUEUE") opened: the variable names it when
// the machine is made, and its handle is this value, which no allocation
// ever has, so that the caller can pass it without reaching the machine.
inline constexpr const char* kCallerQueueVariable = "VX5PRCFG_CALLER_QUEUE";
inline const PrinterHandle kCallerQueueHandle = reinterpret_cast<PrinterHandle>(0xC0DE);

class SimulatedSpooler : public Spooler {
 public:
  // Driver files named without a folder are taken from `driverDirectory`
  // (the profile's folder), so a shared object beside the profile loads.
  SimulatedSpooler(std::shared_ptr<RegistryTree> tree, std::uint32_t ansiCodePage,
                   std::string driverDirectory);
  ~SimulatedSpooler() override;

  PrinterHandle OpenPrinter(std::string_view queueName) override;
  bool ClosePrinter(PrinterHandle handle) override;
  std::optional<PrinterInfo2> GetPrinter(PrinterHandle handle) override;
  std::uint32_t GetPrinterData(PrinterHandle handle, std::string_view valueName,
                               std::uint32_t* type, void* data, std::uint32_t capacity,
                               std::uint32_t* needed) override;
  std::uint32_t DeletePrinterData(PrinterHandle handle, std::string_view valueName) override;
  std::vector<PrinterInfo2> EnumPrinters(std::uint32_t flags, std::string_view name) override;
  std::optional<DriverInfo3> GetPrinterDriver(PrinterHandle handle) override;

  // The queue `queueName` opened by the caller before the call, under the
  // handle kCallerQueueHandle (the caller's own spooler handle, as a driver
  // holds one). False when there is no such queue.
  bool AdoptCallerQueue(std::string_view queueName);

  // Queues still open (tests check that every path closes what it opened).
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct OpenQueue {
    RegistryNode* queue;
  };

  RegistryNode* QueueOf(PrinterHandle handle) const;
  RegistryNode* FindQueue(std::u16string_view name) const;
  PrinterInfo2 QueueRecord(const RegistryNode& queue) const;
  PrinterInfo2 BrowseRecord(const RegistryNode& entry) const;
  std::string Text(const RegistryNode& key, std::u16string_view valueName) const;
  std::string DriverFile(std::string file) const;

  std::shared_ptr<RegistryTree> tree_;
  std::uint32_t ansiCodePage_;
  std::string driverDirectory_;
  std::map<PrinterHandle, std::unique_ptr<OpenQueue>> handles_;
};

}  // namespace platform::simulated
