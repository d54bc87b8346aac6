// Costs of the SNMP layer: detecting addresses, printing values, a request through the scripted
// backend, a real request to a simulated device, and the wait for a device that does not answer.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "snmp/netsnmp_backend.h"
#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"

namespace {

using namespace Snmp_pp;

constexpr char kSysObjectId[] = "1.3.6.1.2.1.1.2.0";
constexpr char kSilentAddress[] = "127.0.0.77";

int GetSysObjectId(const char* address, unsigned long timeout, int retries) {
  int status = -1;
  Snmp udp(status);
  CTarget target{GenAddress(address)};
  target.set_timeout(timeout);
  target.set_retry(retries);
  Pdu pdu;
  pdu += Vb(Oid(kSysObjectId));
  return udp.get(pdu, target);
}

void BM_GenAddressIpv4(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(GenAddress("192.168.10.20").get_type());
  }
}
BENCHMARK(BM_GenAddressIpv4);

void BM_GenAddressIpx(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(GenAddress("0000ABCD-0123456789AB").get_type());
  }
}
BENCHMARK(BM_GenAddressIpx);

void BM_HexDumpOf256Bytes(benchmark::State& state) {
  std::vector<unsigned char> bytes(256);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<unsigned char>(i);
  }
  Vb vb;
  vb.set_value(OctetStr(bytes.data(), static_cast<unsigned long>(bytes.size())));
  for (auto _ : state) {
    benchmark::DoNotOptimize(vb.get_printable_value());
  }
}
BENCHMARK(BM_HexDumpOf256Bytes);

void BM_GetThroughScriptedBackend(benchmark::State& state) {
  auto backend = std::make_shared<ScriptedBackend>();
  backend->SetResponder(
      [](const ScriptedSend&) { return ScriptedReply::ObjectId("1.3.6.1.4.1.1129.2.3.15"); });
  const ScopedSessionBackend installed(backend);
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetSysObjectId("10.0.0.5", kDefaultTimeout, kDefaultRetries));
    backend->ClearSends();
  }
}
BENCHMARK(BM_GetThroughScriptedBackend);

void BM_GetFromSimulatedDevice(benchmark::State& state) {
  const ScopedSessionBackend installed(std::make_shared<NetSnmpBackend>());
  if (GetSysObjectId("127.0.0.1", kDefaultTimeout, kDefaultRetries) != SNMP_CLASS_SUCCESS) {
    state.SkipWithError("no simulated device answers on 127.0.0.1 (run sim/start)");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetSysObjectId("127.0.0.1", kDefaultTimeout, kDefaultRetries));
  }
}
BENCHMARK(BM_GetFromSimulatedDevice)->Unit(benchmark::kMicrosecond);

// Time-out x (retries + 1): 0.1 s x 2 here, 3 s x 2 with the module's time-out of 300.
void BM_SilentAddressTimeout(benchmark::State& state) {
  const ScopedSessionBackend installed(std::make_shared<NetSnmpBackend>());
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetSysObjectId(kSilentAddress, 10, 1));
  }
}
BENCHMARK(BM_SilentAddressTimeout)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
