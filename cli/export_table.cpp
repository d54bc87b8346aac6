#include "cli/export_table.h"

#include <algorithm>

namespace prcfg {
namespace {

constexpr Param InText(std::string_view name) { return {.name = name, .kind = ParamKind::kInText}; }
constexpr Param QueueName(std::string_view name = "queueName") {
  return {.name = name, .kind = ParamKind::kQueueName};
}
constexpr Param Variant() { return InText("variant"); }
constexpr Param InInteger(std::string_view name) {
  return {.name = name, .kind = ParamKind::kInInteger};
}
constexpr Param OutText(std::string_view name, std::size_t size) {
  return {.name = name, .kind = ParamKind::kOutText, .size = size};
}
constexpr Param OutSlots(std::string_view name, std::size_t size, std::size_t slotSize) {
  return {.name = name, .kind = ParamKind::kOutText, .size = size, .slotSize = slotSize};
}
constexpr Param InOutText(std::string_view name, std::size_t size) {
  return {.name = name, .kind = ParamKind::kInOutText, .size = size};
}
constexpr Param OutIntegers(std::string_view name, std::size_t count) {
  return {.name = name, .kind = ParamKind::kOutIntegers, .size = count};
}
constexpr Param InOutInteger(std::string_view name, std::string_view initial = "0") {
  return {.name = name, .kind = ParamKind::kInOutInteger, .initial = initial};
}
constexpr Param Queue() { return {.name = "queue", .kind = ParamKind::kQueueHandle}; }
constexpr Param Opaque(std::string_view name) { return {.name = name, .kind = ParamKind::kOpaque}; }
constexpr Param OutBoxList(std::string_view name) {
  return {.name = name, .kind = ParamKind::kOutBoxList};
}
constexpr Param BoxFile(std::string_view name) {
  return {.name = name, .kind = ParamKind::kBoxFile};
}
constexpr Param OutAllocatedText(std::string_view name, std::size_t size) {
  return {.name = name, .kind = ParamKind::kOutAllocatedText, .size = size};
}
constexpr Param Optional(Param param) {
  param.optional = true;
  return param;
}
constexpr Param Zeroed(Param param) {
  param.zeroed = true;
  return param;
}
constexpr Param Example(Param param, std::string_view example) {
  param.example = example;
  return param;
}
constexpr Param GrowsWith(Param param, int index) {
  param.growsWith = index;
  return param;
}

constexpr std::size_t kProfileSlotSize = 256;
constexpr std::size_t kTabListInIndex = 5;
constexpr std::size_t kLoginTextSize = 256;
// A folder every machine has, so the tour's short path call finds it.
constexpr std::string_view kExistingFolder = "/tmp";
constexpr std::string_view kTourBoxFile = "/tmp/prcfg-tour-boxes.dat";
// The code the department code copiers of the example machine know or not.
constexpr std::string_view kTourDeptCode = "12345";

// The export's name is written once: it names both the row and the
// declaration the adapter is built from.
#define EXPORT_ROW(function, ...) MakeRow<decltype(::function)>(#function, {__VA_ARGS__})

constexpr std::array kExports = {
    EXPORT_ROW(GetMFPModel, QueueName(), Variant(), Queue()),
    EXPORT_ROW(AbvPrinterCheck, QueueName(), Variant(), OutText("answer", VX5PRCFG_ABV_ANSWER_SIZE),
               Queue()),
    EXPORT_ROW(GetIPAddressForAddrBk, QueueName("printerName"),
               Zeroed(OutText("address", VX5PRCFG_ADDRESS_BOOK_SIZE))),
    EXPORT_ROW(GetControllerAddress, Queue(), InInteger("variant"),
               OutText("address", VX5PRCFG_DEVICE_ADDRESS_SIZE)),
    EXPORT_ROW(GetControllerAddressforFax, InInteger("variant"),
               OutText("address", VX5PRCFG_DEVICE_ADDRESS_SIZE), QueueName(), Queue()),
    EXPORT_ROW(PnpFaxLocalDiscovery, QueueName(), Queue()),
    EXPORT_ROW(IsDeptCodeEnforced, QueueName(), Variant(), Queue()),
    EXPORT_ROW(IsConfirmDialogEnforced, QueueName(), Variant(), Queue()),
    EXPORT_ROW(IsUserAccountenforced, QueueName(), Variant(), Queue()),
    EXPORT_ROW(IsBlackFreeModeEnabled, QueueName(), Variant(), Queue()),
    EXPORT_ROW(IsPrivPasswordEncryptEnabled, QueueName(), Variant(), Queue()),
    EXPORT_ROW(GetBoxInfo, QueueName(), InInteger("variant"), OutBoxList("boxes"), Queue()),
    EXPORT_ROW(GetBoxInfo9x, QueueName(), Variant(), Example(BoxFile("boxFilePath"), kTourBoxFile)),
    EXPORT_ROW(GetBoxStatus, QueueName(), Variant(), Queue()),
    EXPORT_ROW(GetBoxStatusEx, QueueName(), Variant(), Queue(), Optional(InOutInteger("notOurs"))),
    EXPORT_ROW(GetHSPStatus, QueueName(), Variant(), Queue()),
    EXPORT_ROW(GetHSPStatusEx, QueueName(), Variant(), Queue(), Optional(InOutInteger("notOurs"))),
    EXPORT_ROW(IsValidDeptCodeMck, QueueName(), Variant(),
               Example(InOutText("deptCode", VX5PRCFG_DEPT_CODE_SIZE), kTourDeptCode), Queue()),
    EXPORT_ROW(GetAdvancedProfileStrings, OutIntegers("settings", VX5PRCFG_PROFILE_SETTINGS),
               OutSlots("strings", VX5PRCFG_PROFILE_STRINGS_SIZE, kProfileSlotSize), QueueName(),
               Variant(), Queue()),
    EXPORT_ROW(GetShortPathNameFromDll, Example(InText("longPath"), kExistingFolder),
               OutText("shortPath", VX5PRCFG_SHORT_PATH_SIZE)),
    EXPORT_ROW(GetCurrentTimeS, OutText("text", VX5PRCFG_TIME_TEXT_SIZE)),
    EXPORT_ROW(GetCurrentTimePJL, OutText("text", VX5PRCFG_PJL_TIME_SIZE)),
    EXPORT_ROW(CheckBoxPassword, QueueName(), Variant(), InText("boxNumber"), InText("password"),
               OutText("entered", VX5PRCFG_BOX_PASSWORD_SIZE), Queue()),
    EXPORT_ROW(ValidateDepartmentCode, InOutText("deptCode", VX5PRCFG_DEPT_CODE_SIZE)),
    EXPORT_ROW(ScheduleDateTime, OutText("text", VX5PRCFG_SCHEDULE_TEXT_SIZE),
               OutText("seconds", VX5PRCFG_SCHEDULE_SECONDS_SIZE), InInteger("rangeMode")),
    EXPORT_ROW(ScheduleDateTime16, OutText("text", VX5PRCFG_SCHEDULE_TEXT_SIZE),
               OutText("stamp", VX5PRCFG_SCHEDULE_STAMP_SIZE)),
    EXPORT_ROW(ValidateDIN, InOutText("din", VX5PRCFG_DIN_SIZE)),
    EXPORT_ROW(ValidateDIN1, OutAllocatedText("din", VX5PRCFG_DIN_SIZE)),
    EXPORT_ROW(IsVezurOruvaUser, OutText("userName", kLoginTextSize),
               OutText("password", kLoginTextSize), QueueName(), Optional(Opaque("reserved")),
               InInteger("requestKind")),
    EXPORT_ROW(IsVezurOruvaUser16, OutText("userName", kLoginTextSize),
               OutText("password", kLoginTextSize), QueueName(), Optional(Opaque("reserved")),
               InOutInteger("requestKind")),
    EXPORT_ROW(GetInserterPaperSelected, OutIntegers("paperCode", 1), OutIntegers("inverted", 1),
               InInteger("initialPaper")),
    EXPORT_ROW(TabPrinting, InInteger("mode"),
               GrowsWith(OutText("tabListOut", VX5PRCFG_TAB_LIST_SIZE), kTabListInIndex),
               InOutInteger("manufacturerIndex"), InOutInteger("cassetteIndex"),
               Example(Optional(InOutText("imageShift", VX5PRCFG_IMAGE_SHIFT_SIZE)), "0.5in"),
               Example(Optional(InText("tabListIn")), "3I,5"), QueueName("printerName")),
};

#undef EXPORT_ROW

static_assert(kExports.size() == 32, "the module has 32 exports");

}  // namespace

bool ExportRow::TakesQueueName() const {
  const auto params = Params();
  return std::any_of(params.begin(), params.end(),
                     [](const Param& p) { return p.kind == ParamKind::kQueueName; });
}

std::span<const ExportRow> Exports() { return kExports; }

const ExportRow* FindExport(std::string_view name) {
  const auto found = std::find_if(kExports.begin(), kExports.end(),
                                  [name](const ExportRow& row) { return row.name == name; });
  return found == kExports.end() ? nullptr : &*found;
}

}  // namespace prcfg
