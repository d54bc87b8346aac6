#include "cli/report_output.h"

#include "cli/ansi_text.h"

namespace prcfg {
namespace {

using Json = nlohmann::ordered_json;

bool IsHexTwin(const Json& object, std::string_view key) {
  return key.size() > kHexSuffix.size() && key.ends_with(kHexSuffix) &&
         object.contains(std::string(key.substr(0, key.size() - kHexSuffix.size())));
}

// Texts quoted and escaped as JSON does; numbers plain.
std::string Shown(const Json& value) {
  if (value.is_null()) return "(not written)";
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// An object's fields without the hex twins of its texts.
Json WithoutHex(const Json& value) {
  if (value.is_array()) {
    Json result = Json::array();
    for (const auto& element : value) result.push_back(WithoutHex(element));
    return result;
  }
  if (!value.is_object()) return value;
  Json result = Json::object();
  for (const auto& [key, field] : value.items()) {
    if (!IsHexTwin(value, key)) result[key] = WithoutHex(field);
  }
  return result;
}

void PrintOut(std::ostream& out, const std::string& name, const Json& value,
              std::string_view indent) {
  if (!value.is_array()) {
    out << indent << "  " << name << " = " << Shown(value) << '\n';
    return;
  }
  out << indent << "  " << name << ":\n";
  for (std::size_t i = 0; i < value.size(); ++i) {
    const Json& element = value[i];
    // Blocks of fixed slots are mostly empty; show the filled ones.
    if (element.is_string() && element.get_ref<const std::string&>().empty()) continue;
    out << indent << "    [" << i << "] " << Shown(WithoutHex(element)) << '\n';
  }
}

void PrintUiEvent(std::ostream& out, const Json& event, std::string_view indent) {
  const std::string kind = event.value("event", "");
  if (kind == "message_box") {
    const Json& owner = event.contains("owner") ? event["owner"] : Json();
    out << indent << "  message box " << Shown(event.value("caption", Json(""))) << " ("
        << (owner.is_null() ? std::string("no owner") : "owner " + owner.dump())
        << "): " << Shown(event.value("text", Json(""))) << " -> "
        << event.value("result", Json()).dump() << '\n';
    return;
  }
  Json rest = WithoutHex(event);
  rest.erase("event");
  out << indent << "  " << (kind.empty() ? "event" : kind) << ' '
      << rest.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace

Json ReportJson(const CallReport& report) {
  Json json = Json::object();
  json["export"] = report.exportName;
  json["return"] = report.returned ? Json(*report.returned) : Json();
  json["out"] = report.out;
  json["ui"] = report.ui;
  return json;
}

void PrintReport(std::ostream& out, const CallReport& report, std::string_view indent) {
  out << indent << report.exportName << " returned "
      << (report.returned ? std::to_string(*report.returned) : "nothing (void)") << '\n';
  for (const auto& [key, value] : report.out.items()) {
    if (!IsHexTwin(report.out, key)) PrintOut(out, key, value, indent);
  }
  for (const auto& event : report.ui) PrintUiEvent(out, event, indent);
}

bool PrintFaults(std::ostream& err, const CallReport& report) {
  for (const auto& message : report.profileErrors) {
    err << "prcfg: machine profile: " << message << '\n';
  }
  for (const auto& name : report.unterminated) {
    err << "prcfg: warning: " << report.exportName << ": " << name
        << " holds no NUL within the caller's size\n";
  }
  for (const auto& message : report.overruns) {
    err << "prcfg: BUFFER OVERRUN: " << report.exportName << ": " << message << '\n';
  }
  return !report.overruns.empty();
}

}  // namespace prcfg
