// A machine that fails the n-th call the module makes of it: the spooler,
// the registry, the kernel (time and locale formatting, code page
// conversion, short paths, dynamic loading, output files, global memory),
// the network (name resolution, IPX service look-up and datagram sockets)
// and the SNMP sessions (opening and sending). It wraps a
// simulated machine and a session backend, passes every other call through,
// and counts what the module holds open: queues, keys, modules, files,
// look-ups, sockets, blocks and sessions. Release calls never fail: a caller cannot do anything
// about them.
//
// To cover a new interface method: forward it through Fallible (with what
// the call answers when it fails) or, for a call that cannot fail, straight
// to the inner object.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/machine.h"
#include "platform/simulated/simulated_machine.h"
#include "snmp/session_backend.h"
#include "snmp/snmp_errors.h"

namespace platform::testing {

// Which call fails, and what is held open. Shared by every decorator of one
// run; sessions may call from several threads at once.
class FaultPlan {
 public:
  // Fails call `failAt` (1-based); 0 fails none.
  explicit FaultPlan(int failAt) : failAt_(failAt) {}

  // Counts a call named `what`; true when it is the one to fail.
  bool Fail(const char* what) {
    const std::lock_guard lock(mutex_);
    ++calls_;
    names_.emplace_back(what);
    if (calls_ != failAt_) return false;
    failed_ = what;
    return true;
  }

  int calls() const {
    const std::lock_guard lock(mutex_);
    return calls_;
  }
  // Every call's name, in order.
  std::vector<std::string> names() const {
    const std::lock_guard lock(mutex_);
    return names_;
  }
  // The call that failed, empty when the run ended before call n.
  std::string failed() const {
    const std::lock_guard lock(mutex_);
    return failed_;
  }

  // What is held: a count per kind of resource (opened minus released).
  void Acquired(const char* kind) { Change(kind, +1); }
  void Released(const char* kind) { Change(kind, -1); }
  std::map<std::string, int> Held() const {
    const std::lock_guard lock(mutex_);
    std::map<std::string, int> held;
    for (const auto& [kind, count] : held_) {
      if (count != 0) held[kind] = count;
    }
    return held;
  }

 private:
  void Change(const char* kind, int by) {
    const std::lock_guard lock(mutex_);
    held_[kind] += by;
  }

  mutable std::mutex mutex_;
  const int failAt_;
  int calls_ = 0;
  std::vector<std::string> names_;
  std::string failed_;
  std::map<std::string, int> held_;
};

// The call's result from `call`, or `failure` when the plan fails it.
template <typename Result, typename Call>
Result Fallible(FaultPlan& plan, const char* what, Result failure, Call&& call) {
  if (plan.Fail(what)) return failure;
  return call();
}

inline constexpr std::uint32_t kErrorAccessDenied = 5;

class FaultSpooler : public Spooler {
 public:
  FaultSpooler(Spooler& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  PrinterHandle OpenPrinter(std::string_view queueName) override {
    const PrinterHandle handle = Fallible<PrinterHandle>(
        plan_, "OpenPrinter", nullptr, [&] { return inner_.OpenPrinter(queueName); });
    if (handle != nullptr) plan_.Acquired("queue handle");
    return handle;
  }
  bool ClosePrinter(PrinterHandle handle) override {
    const bool closed = inner_.ClosePrinter(handle);
    if (closed) plan_.Released("queue handle");
    return closed;
  }
  std::optional<PrinterInfo2> GetPrinter(PrinterHandle handle) override {
    return Fallible<std::optional<PrinterInfo2>>(plan_, "GetPrinter", std::nullopt,
                                                 [&] { return inner_.GetPrinter(handle); });
  }
  std::uint32_t GetPrinterData(PrinterHandle handle, std::string_view valueName,
                               std::uint32_t* type, void* data, std::uint32_t capacity,
                               std::uint32_t* needed) override {
    return Fallible(plan_, "GetPrinterData", kErrorAccessDenied, [&] {
      return inner_.GetPrinterData(handle, valueName, type, data, capacity, needed);
    });
  }
  std::uint32_t DeletePrinterData(PrinterHandle handle, std::string_view valueName) override {
    return Fallible(plan_, "DeletePrinterData", kErrorAccessDenied,
                    [&] { return inner_.DeletePrinterData(handle, valueName); });
  }
  std::vector<PrinterInfo2> EnumPrinters(std::uint32_t flags, std::string_view name) override {
    return Fallible<std::vector<PrinterInfo2>>(plan_, "EnumPrinters", {},
                                               [&] { return inner_.EnumPrinters(flags, name); });
  }
  std::optional<DriverInfo3> GetPrinterDriver(PrinterHandle handle) override {
    return Fallible<std::optional<DriverInfo3>>(plan_, "GetPrinterDriver", std::nullopt,
                                                [&] { return inner_.GetPrinterDriver(handle); });
  }

 private:
  Spooler& inner_;
  FaultPlan& plan_;
};

class FaultRegistryKey : public RegistryKey {
 public:
  FaultRegistryKey(std::unique_ptr<RegistryKey> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(plan) {
    plan_.Acquired("registry key");
  }
  ~FaultRegistryKey() override { plan_.Released("registry key"); }

  std::uint32_t QueryValue(std::string_view name, RegType* type, void* data,
                           std::uint32_t* size) const override {
    return Fallible(plan_, "RegQueryValue", kErrorAccessDenied,
                    [&] { return inner_->QueryValue(name, type, data, size); });
  }
  std::uint32_t EnumSubKey(std::uint32_t index, char* name, std::uint32_t capacity) const override {
    return Fallible(plan_, "RegEnumKey", kErrorAccessDenied,
                    [&] { return inner_->EnumSubKey(index, name, capacity); });
  }

 private:
  std::unique_ptr<RegistryKey> inner_;
  FaultPlan& plan_;
};

class FaultRegistry : public Registry {
 public:
  FaultRegistry(Registry& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  std::unique_ptr<RegistryKey> OpenKey(Hive hive, std::string_view path,
                                       std::uint32_t* error) override {
    if (plan_.Fail("RegOpenKey")) {
      if (error != nullptr) *error = kErrorAccessDenied;
      return nullptr;
    }
    std::unique_ptr<RegistryKey> key = inner_.OpenKey(hive, path, error);
    if (key == nullptr) return nullptr;
    return std::make_unique<FaultRegistryKey>(std::move(key), plan_);
  }

 private:
  Registry& inner_;
  FaultPlan& plan_;
};

class FaultResolver : public NameResolver {
 public:
  FaultResolver(NameResolver& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  int GetAddrInfo(std::string_view node, AddressFamily family,
                  std::vector<SocketAddress>* addresses) override {
    return Fallible(plan_, "getaddrinfo", kWsaNoRecovery,
                    [&] { return inner_.GetAddrInfo(node, family, addresses); });
  }
  int GetNameInfo(const SocketAddress& address, char* host, std::size_t capacity,
                  bool numericHost) override {
    return Fallible(plan_, "getnameinfo", kWsaNoRecovery,
                    [&] { return inner_.GetNameInfo(address, host, capacity, numericHost); });
  }

 private:
  NameResolver& inner_;
  FaultPlan& plan_;
};

class FaultIpxSocket : public IpxDatagramSocket {
 public:
  FaultIpxSocket(std::unique_ptr<IpxDatagramSocket> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(plan) {
    plan_.Acquired("IPX socket");
  }
  ~FaultIpxSocket() override { plan_.Released("IPX socket"); }

  int Connect(const IpxSocketAddress& peer) override {
    return Fallible(plan_, "IPX connect", kWsaEnetunreach, [&] { return inner_->Connect(peer); });
  }
  int SendTo(const void* data, std::size_t size, const IpxSocketAddress& peer) override {
    return Fallible(plan_, "IPX sendto", kWsaEnetunreach,
                    [&] { return inner_->SendTo(data, size, peer); });
  }
  int ReceiveFrom(void* data, std::size_t capacity, std::uint32_t timeoutMilliseconds,
                  std::size_t* received) override {
    return Fallible(plan_, "IPX recvfrom", kWsaEnetunreach, [&] {
      return inner_->ReceiveFrom(data, capacity, timeoutMilliseconds, received);
    });
  }

 private:
  std::unique_ptr<IpxDatagramSocket> inner_;
  FaultPlan& plan_;
};

class FaultNetwork : public Network {
 public:
  FaultNetwork(Network& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  NameResolver* BindNameResolver() override {
    NameResolver* bound = Fallible<NameResolver*>(plan_, "BindNameResolver", nullptr,
                                                  [&] { return inner_.BindNameResolver(); });
    if (bound == nullptr) return nullptr;
    resolvers_.push_back(std::make_unique<FaultResolver>(*bound, plan_));
    return resolvers_.back().get();
  }
  int EnumNameSpaceProviders(std::uint32_t* bufferLength,
                             std::vector<std::string>* identifiers) override {
    if (plan_.Fail("WSAEnumNameSpaceProviders")) {
      identifiers->clear();
      return kWsaEinval;
    }
    return inner_.EnumNameSpaceProviders(bufferLength, identifiers);
  }
  int LookupServiceBegin(const ServiceQuery& query, std::uint32_t flags,
                         LookupHandle* handle) override {
    if (plan_.Fail("WSALookupServiceBegin")) {
      *handle = nullptr;
      return kWsaServiceNotFound;
    }
    const int error = inner_.LookupServiceBegin(query, flags, handle);
    if (error == 0 && *handle != nullptr) plan_.Acquired("service look-up");
    return error;
  }
  int LookupServiceNext(LookupHandle handle, std::uint32_t flags, std::uint32_t* bufferLength,
                        void* buffer, IpxSocketAddress* address) override {
    return Fallible(plan_, "WSALookupServiceNext", kWsaEinval, [&] {
      return inner_.LookupServiceNext(handle, flags, bufferLength, buffer, address);
    });
  }
  int LookupServiceEnd(LookupHandle handle) override {
    if (handle != nullptr) plan_.Released("service look-up");
    return inner_.LookupServiceEnd(handle);
  }
  std::unique_ptr<IpxDatagramSocket> OpenIpxDatagramSocket(int* error) override {
    if (plan_.Fail("IPX socket")) {
      *error = kWsaEinval;
      return nullptr;
    }
    std::unique_ptr<IpxDatagramSocket> socket = inner_.OpenIpxDatagramSocket(error);
    if (socket == nullptr) return nullptr;
    return std::make_unique<FaultIpxSocket>(std::move(socket), plan_);
  }
  bool HasIpx() override { return inner_.HasIpx(); }
  std::optional<std::string> IpxNodeStandIn(const IpxSocketAddress& node) override {
    return inner_.IpxNodeStandIn(node);
  }

 private:
  Network& inner_;
  FaultPlan& plan_;
  std::vector<std::unique_ptr<FaultResolver>> resolvers_;
};

class FaultUserInterface : public UserInterface {
 public:
  FaultUserInterface(UserInterface& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption,
                 unsigned type) override {
    return Fallible(plan_, "MessageBox", 0,
                    [&] { return inner_.MessageBox(owner, text, caption, type); });
  }
  void SetWaitCursor(bool waiting) override { inner_.SetWaitCursor(waiting); }

 private:
  UserInterface& inner_;
  FaultPlan& plan_;
};

class FaultOutputFile : public OutputFile {
 public:
  FaultOutputFile(std::unique_ptr<OutputFile> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(plan) {
    plan_.Acquired("output file");
  }
  ~FaultOutputFile() override { plan_.Released("output file"); }

  bool Write(const void* bytes, std::size_t count) override {
    return Fallible(plan_, "file write", false, [&] { return inner_->Write(bytes, count); });
  }
  // A failed close still closes.
  bool Finish(bool complete) override {
    if (plan_.Fail("file close")) {
      inner_->Finish(false);
      return false;
    }
    return inner_->Finish(complete);
  }

 private:
  std::unique_ptr<OutputFile> inner_;
  FaultPlan& plan_;
};

class FaultKernel : public Kernel {
 public:
  FaultKernel(Kernel& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  SystemTime GetLocalTime() override { return inner_.GetLocalTime(); }
  std::tm CurrentLocalBreakdown() override { return inner_.CurrentLocalBreakdown(); }
  int GetDateFormat(std::uint32_t flags, const SystemTime* time, const char* picture, char* out,
                    int capacity) override {
    return Fallible(plan_, "GetDateFormat", 0,
                    [&] { return inner_.GetDateFormat(flags, time, picture, out, capacity); });
  }
  int GetTimeFormat(std::uint32_t flags, const SystemTime* time, const char* picture, char* out,
                    int capacity) override {
    return Fallible(plan_, "GetTimeFormat", 0,
                    [&] { return inner_.GetTimeFormat(flags, time, picture, out, capacity); });
  }
  int GetLocaleInfo(std::uint32_t type, char* out, int capacity) override {
    return Fallible(plan_, "GetLocaleInfo", 0,
                    [&] { return inner_.GetLocaleInfo(type, out, capacity); });
  }
  std::uint32_t AnsiCodePage() override { return inner_.AnsiCodePage(); }
  int WideToAnsi(std::uint32_t codePage, std::u16string_view text, char* out,
                 int capacity) override {
    return Fallible(plan_, "WideToAnsi", 0,
                    [&] { return inner_.WideToAnsi(codePage, text, out, capacity); });
  }
  int AnsiToWide(std::uint32_t codePage, std::string_view text, char16_t* out,
                 int capacity) override {
    return Fallible(plan_, "AnsiToWide", 0,
                    [&] { return inner_.AnsiToWide(codePage, text, out, capacity); });
  }
  VersionInfo GetVersion() override { return inner_.GetVersion(); }
  std::uint32_t GetShortPathName(const char* longPath, char* out, std::uint32_t capacity) override {
    return Fallible(plan_, "GetShortPathName", 0u,
                    [&] { return inner_.GetShortPathName(longPath, out, capacity); });
  }
  void* LoadLibrary(const char* path) override {
    void* module =
        Fallible<void*>(plan_, "LoadLibrary", nullptr, [&] { return inner_.LoadLibrary(path); });
    if (module != nullptr) plan_.Acquired("module");
    return module;
  }
  void* GetProcAddress(void* module, const char* name) override {
    return Fallible<void*>(plan_, "GetProcAddress", nullptr,
                           [&] { return inner_.GetProcAddress(module, name); });
  }
  void FreeLibrary(void* module) override {
    if (module != nullptr) plan_.Released("module");
    inner_.FreeLibrary(module);
  }
  std::unique_ptr<OutputFile> OpenOutputFile(const char* path) override {
    if (plan_.Fail("open file")) return nullptr;
    std::unique_ptr<OutputFile> file = inner_.OpenOutputFile(path);
    if (file == nullptr) return nullptr;
    return std::make_unique<FaultOutputFile>(std::move(file), plan_);
  }
  void* GlobalAlloc(std::size_t bytes) override {
    void* block =
        Fallible<void*>(plan_, "GlobalAlloc", nullptr, [&] { return inner_.GlobalAlloc(bytes); });
    if (block != nullptr) {
      const std::lock_guard lock(blocksMutex_);
      blocks_.insert(block);
    }
    return block;
  }
  void GlobalFree(void* block) override {
    {
      const std::lock_guard lock(blocksMutex_);
      blocks_.erase(block);
    }
    inner_.GlobalFree(block);
  }

  // Blocks allocated and not freed by the module (those handed to the
  // caller among them).
  std::set<void*> Blocks() const {
    const std::lock_guard lock(blocksMutex_);
    return blocks_;
  }

 private:
  Kernel& inner_;
  FaultPlan& plan_;
  mutable std::mutex blocksMutex_;
  std::set<void*> blocks_;
};

class FaultMachine : public Machine {
 public:
  FaultMachine(std::unique_ptr<simulated::SimulatedMachine> inner, FaultPlan& plan)
      : inner_(std::move(inner)),
        spooler_(inner_->spooler(), plan),
        registry_(inner_->registry(), plan),
        network_(inner_->network(), plan),
        ui_(inner_->ui(), plan),
        kernel_(inner_->kernel(), plan) {}

  Spooler& spooler() override { return spooler_; }
  Registry& registry() override { return registry_; }
  Network& network() override { return network_; }
  UserInterface& ui() override { return ui_; }
  Kernel& kernel() override { return kernel_; }
  std::string InteractiveUserSid() override { return inner_->InteractiveUserSid(); }

  simulated::SimulatedMachine& inner() { return *inner_; }
  FaultKernel& faultKernel() { return kernel_; }

 private:
  std::unique_ptr<simulated::SimulatedMachine> inner_;
  FaultSpooler spooler_;
  FaultRegistry registry_;
  FaultNetwork network_;
  FaultUserInterface ui_;
  FaultKernel kernel_;
};

// Sessions: opening either kind and every send can fail.
class FaultSession : public Snmp_pp::TransportSession {
 public:
  FaultSession(std::unique_ptr<Snmp_pp::TransportSession> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(plan) {
    plan_.Acquired("SNMP session");
  }
  ~FaultSession() override { plan_.Released("SNMP session"); }

  int Send(const Snmp_pp::SnmpRequest& request, Snmp_pp::SnmpResponse* response) override {
    return Fallible(plan_, "SNMP send", SNMP_CLASS_TL_FAILED,
                    [&] { return inner_->Send(request, response); });
  }

 private:
  std::unique_ptr<Snmp_pp::TransportSession> inner_;
  FaultPlan& plan_;
};

class FaultSessionBackend : public Snmp_pp::SessionBackend {
 public:
  FaultSessionBackend(std::shared_ptr<Snmp_pp::SessionBackend> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(plan) {}

  int OpenUdp(unsigned short localPort, bool bindIpv6,
              std::unique_ptr<Snmp_pp::TransportSession>* session) override {
    return Open("open UDP session", session,
                [&](auto* opened) { return inner_->OpenUdp(localPort, bindIpv6, opened); });
  }
  int OpenIpx(const Snmp_pp::IpxSockAddress& local,
              std::unique_ptr<Snmp_pp::TransportSession>* session) override {
    return Open("open IPX session", session,
                [&](auto* opened) { return inner_->OpenIpx(local, opened); });
  }

 private:
  template <typename OpenInner>
  int Open(const char* what, std::unique_ptr<Snmp_pp::TransportSession>* session, OpenInner open) {
    if (plan_.Fail(what)) return SNMP_CLASS_TL_FAILED;
    std::unique_ptr<Snmp_pp::TransportSession> opened;
    const int status = open(&opened);
    if (status == SNMP_CLASS_SUCCESS && opened != nullptr) {
      *session = std::make_unique<FaultSession>(std::move(opened), plan_);
    }
    return status;
  }

  std::shared_ptr<Snmp_pp::SessionBackend> inner_;
  FaultPlan& plan_;
};

}  // namespace platform::testing
