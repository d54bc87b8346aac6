#include "device/fax_discovery.h"

#include <algorithm>
#include <string>
#include <vector>

#include "device/device_address.h"
#include "device/printer_queue.h"
#include "platform/machine.h"
#include "prompts/module_state.h"
#include "prompts/module_text.h"
#include "resources/resource_ids.h"

namespace device {
namespace {

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  std::ranges::transform(lowered, lowered.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return lowered;
}

// A library loaded for the call and released on every way out.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* path)
      : module_(platform::CurrentMachine().kernel().LoadLibrary(path)) {}
  ~LoadedLibrary() {
    if (module_ != nullptr) platform::CurrentMachine().kernel().FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  void* Find(const char* name) const {
    return module_ == nullptr ? nullptr
                              : platform::CurrentMachine().kernel().GetProcAddress(module_, name);
  }

 private:
  void* module_;
};

std::string LoadedText(int id) {
  std::vector<char> text(prompts::kMessageTextCapacity, '\0');
  prompts::LoadModuleText(id, text.data(), static_cast<int>(text.size()));
  return text.data();
}

}  // namespace

bool FindDriverFile(platform::PrinterHandle queue, std::string_view search, char* out,
                    std::size_t outSize) {
  if (out == nullptr || outSize == 0) return false;
  out[0] = '\0';
  const std::string wanted = Lowered(search);
  const auto driver = platform::CurrentMachine().spooler().GetPrinterDriver(queue);
  if (!driver) return false;
  std::vector<std::string_view> files(driver->dependentFiles.begin(), driver->dependentFiles.end());
  files.insert(files.end(), {driver->dataFile, driver->helpFile, driver->configFile});
  for (std::string_view file : files) {
    // Compared in lower case, handed on as recorded: a path on a file system
    // that tells case apart must still load.
    if (Lowered(file).find(wanted) != std::string::npos) {
      CopyBounded(out, outSize, file);
      return true;
    }
  }
  return false;
}

int PnpFaxLocalDiscovery(const char* queueName, platform::PrinterHandle handle) {
  const prompts::ModuleStateGuard moduleState;
  QueueHandle queue(handle);
  const auto record = GetPrinterInfo(queueName, queue);
  if (record == nullptr) return 0;

  std::vector<char> libraryPath(kDiscoveryLibraryPathSize, '\0');
  FindDriverFile(queue.get(), LoadedText(IDS_STR_UNUSED_12037), libraryPath.data(),
                 libraryPath.size());
  const LoadedLibrary library(libraryPath.data());
  const auto routine = reinterpret_cast<FaxDiscoveryRoutine>(library.Find(kFaxDiscoveryRoutine));
  if (routine == nullptr) return 0;

  std::vector<char> argumentPath(kDiscoveryArgumentPathSize, '\0');
  FindDriverFile(queue.get(), LoadedText(IDS_STR_UNUSED_12035), argumentPath.data(),
                 argumentPath.size());
  return routine(argumentPath.data(), record->portName.c_str(), queue.get()) == 0 ? 1 : 0;
}

}  // namespace device
