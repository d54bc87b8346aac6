// The address look-ups' C entry points. No exception may cross into the
// driver: a failure answers as "nothing found".
#include "device/address_lookup.h"
#include "device/fax_discovery.h"
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"

using exports::Guarded;

extern "C" {

VX5PRCFG_API int GetIPAddressForAddrBk(const char* printerName, char* address) {
  return Guarded(0, [&] { return device::GetIpAddressForAddressBook(printerName, address); });
}

VX5PRCFG_API int GetControllerAddress(void* queue, int variant, char* address) {
  return Guarded(0, [&] { return device::GetControllerAddress(queue, variant, address); });
}

VX5PRCFG_API int GetControllerAddressforFax(int variant, char* address, const char* queueName,
                                            void* queue) {
  return Guarded(
      0, [&] { return device::GetControllerAddressForFax(variant, address, queueName, queue); });
}

VX5PRCFG_API int PnpFaxLocalDiscovery(const char* queueName, void* queue) {
  return Guarded(0, [&] { return device::PnpFaxLocalDiscovery(queueName, queue); });
}

}  // extern "C"
