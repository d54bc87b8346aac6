#include "cli/module_session.h"

#include <dlfcn.h>

#include <cstdlib>
#include <stdexcept>

#include "cli/ansi_text.h"

namespace prcfg {

ModuleSession::ModuleSession(const std::string& libraryPath, std::uint32_t codePage)
    : profileCodePage_(codePage) {
  // The machine opens its trace when the library first reaches it, so the
  // name must be in place before the library is loaded.
  setenv(kTraceVariable, trace_.path().c_str(), 1);
  library_ = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    const char* reason = dlerror();
    unsetenv(kTraceVariable);
    throw std::runtime_error("cannot load " + libraryPath + ": " +
                             (reason != nullptr ? reason : "unknown error"));
  }
}

ModuleSession::~ModuleSession() {
  dlclose(library_);
  unsetenv(kTraceVariable);
}

bool ModuleSession::Defines(const ExportRow& row) const {
  return dlsym(library_, std::string(row.name).c_str()) != nullptr;
}

std::uint32_t ModuleSession::AnsiCodePage() const {
  return events_.ansiCodePage.value_or(profileCodePage_);
}

CallReport ModuleSession::Call(const ExportRow& row, CallArguments& args) {
  void* symbol = dlsym(library_, std::string(row.name).c_str());
  if (symbol == nullptr) throw std::logic_error(std::string(row.name) + " is not defined");
  CallReport report;
  report.exportName = row.name;
  report.returned = row.invoke(symbol, args);

  AbsorbTraceLines(trace_.ReadNewLines(), events_);
  const std::uint32_t codePage = AnsiCodePage();
  report.out = args.Outputs(codePage);
  report.ui = WithDecodedTexts(events_.ui, codePage);
  report.overruns = args.Overruns();
  report.unterminated = args.Unterminated();
  report.profileErrors = std::move(events_.profileErrors);
  // What the next call shows is its own; the code page stays.
  events_.ui = nlohmann::ordered_json::array();
  events_.profileErrors.clear();
  return report;
}

}  // namespace prcfg
