#include "cli/module_session.h"

#include <stdexcept>

#include "cli/ansi_text.h"

namespace prcfg {

ModuleSession::ModuleSession(const std::string& libraryPath, std::uint32_t codePage)
    : profileCodePage_(codePage) {
  // The machine opens its trace when the library first reaches it, so the
  // name must be in place before the library is loaded.
  SetVariable(kTraceVariable, trace_.path());
  try {
    library_ = std::make_unique<LoadedLibrary>(libraryPath);
  } catch (...) {
    UnsetVariable(kTraceVariable);
    throw;
  }
}

ModuleSession::~ModuleSession() {
  library_.reset();
  UnsetVariable(kTraceVariable);
}

bool ModuleSession::Defines(const ExportRow& row) const {
  return library_->Find(std::string(row.name)) != nullptr;
}

std::uint32_t ModuleSession::AnsiCodePage() const {
  return events_.ansiCodePage.value_or(profileCodePage_);
}

CallReport ModuleSession::Call(const ExportRow& row, CallArguments& args) {
  void* symbol = library_->Find(std::string(row.name));
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
