// A test's machine and SNMP backend: an in-memory profile, a scripted
// backend answering from an in-memory MIB per address, and the resolution
// of a queue as the exports do it.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "device/device_address.h"
#include "device/port_resolution.h"
#include "device/printer_queue.h"
#include "platform/simulated/simulated_machine.h"
#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"

namespace device::testing {

inline constexpr char kQueueKey[] = "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
inline constexpr char kPortsKey[] =
    "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";
inline constexpr char kDiscoveryKey[] =
    "[HKCU\\Software\\MERLO\\Norvane MERLO Client\\LM-JobVue\\PrinterDiscovery]\n";

// A local queue "Q" on `port` with printer data lines `data`.
inline std::string LocalQueue(std::string_view port, std::string_view data = {},
                              std::string_view name = "Q") {
  std::string lines = std::string(kQueueKey) + std::string(name) + "]\n\"Port\"=\"" +
                      std::string(port) + "\"\n\"Attributes\"=dword:00000040\n";
  if (!data.empty()) {
    lines += std::string(kQueueKey) + std::string(name) + "\\PrinterDriverData]\n" +
             std::string(data) + "\n";
  }
  return lines;
}

// A queue "Q" connected from `server` ("\\\\srv" in .reg escaping).
inline std::string NetworkQueue(std::string_view port, std::string_view server,
                                std::string_view data = {}) {
  std::string lines = std::string(kQueueKey) + "Q]\n\"Port\"=\"" + std::string(port) +
                      "\"\n\"Server Name\"=\"" + std::string(server) +
                      "\"\n\"Attributes\"=dword:00000010\n";
  if (!data.empty()) {
    lines += std::string(kQueueKey) + "Q\\PrinterDriverData]\n" + std::string(data) + "\n";
  }
  return lines;
}

inline std::string Hosts(std::string_view entries) {
  return "[HKLM\\SOFTWARE\\SimulatedMachine\\Hosts]\n" + std::string(entries) + "\n";
}

class DeviceTest : public ::testing::Test {
 protected:
  DeviceTest() : backend_(std::make_shared<Snmp_pp::ScriptedBackend>()), scoped_(backend_) {
    Snmp_pp::SocketLayerStats::reset();
    backend_->SetResponder([this](const Snmp_pp::ScriptedSend& send) {
      const auto device = devices_.find(send.address);
      if (device == devices_.end()) return Snmp_pp::ScriptedReply::Timeout();
      return device->second.Answer(send);
    });
  }

  void UseMachine(const std::string& lines) {
    machine_.reset();
    machine_ = std::make_unique<platform::simulated::ScopedMachine>(
        platform::simulated::SimulatedMachine::FromRegistryLines(lines));
  }

  // A device at `address` answering `sysObjectId`.
  Snmp_pp::ScriptedAgent& Device(const std::string& address, const char* sysObjectId) {
    return devices_[address].SetObjectId("1.3.6.1.2.1.1.2.0", sysObjectId);
  }

  struct Resolution {
    int result;
    std::string address;
  };

  // ResolveDeviceAddress of queue "Q" as the frame calls it.
  Resolution Resolve(int variant = 0, int* notOurs = nullptr, int trusted = 0) {
    QueueHandle queue;
    auto record = GetPrinterInfo("Q", queue);
    std::array<char, kAddressBufferSize> address{};
    const int result = ResolveDeviceAddress(record.get(), address.data(), variant, queue.get(), 1,
                                            notOurs, trusted);
    return {result, address.data()};
  }

  bool HasPrinterData(std::string_view name) {
    QueueHandle queue;
    queue.OpenByName("Q");
    std::array<char, kAddressBufferSize> value{};
    return ReadPrinterDataText(queue.get(), name, value.data());
  }

  std::shared_ptr<Snmp_pp::ScriptedBackend> backend_;
  Snmp_pp::ScopedSessionBackend scoped_;
  std::map<std::string, Snmp_pp::ScriptedAgent> devices_;
  std::unique_ptr<platform::simulated::ScopedMachine> machine_;
};

}  // namespace device::testing
