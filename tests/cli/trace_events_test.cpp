// What the CLI makes of the machine's trace: the code page, profile errors,
// and the user-visible events with their texts decoded.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/ansi_text.h"
#include "cli/trace_file.h"

namespace prcfg {
namespace {

constexpr std::uint32_t kCyrillicCodePage = 1251;
constexpr char kPrivetHex[] = "cff0e8e2e5f2";  // "Привет" in 1251

TEST(TraceEvents, MachineRecordSetsTheCodePageAndErrorsAreKeptApart) {
  TraceEvents events;
  AbsorbTraceLines({R"({"event":"machine","profile":"a.reg","ansi_code_page":1251})",
                    R"({"event":"profile_error","message":"a.reg:3: bad line"})"},
                   events);
  EXPECT_EQ(events.ansiCodePage, kCyrillicCodePage);
  EXPECT_EQ(events.profileErrors, std::vector<std::string>{"a.reg:3: bad line"});
  EXPECT_TRUE(events.ui.empty());
}

TEST(TraceEvents, UserVisibleEventsPassThroughUnchangedInOrder) {
  TraceEvents events;
  const std::string box =
      R"({"event":"message_box","owner":null,"caption_hex":"4572726f72","text_hex":"41","type":0,"result":1})";
  const std::string later = R"({"event":"dialog_closed","id":4003,"result":2})";
  AbsorbTraceLines({box, later, "not json"}, events);
  ASSERT_EQ(events.ui.size(), 3u);
  EXPECT_EQ(events.ui[0], nlohmann::ordered_json::parse(box));
  EXPECT_EQ(events.ui[1], nlohmann::ordered_json::parse(later));
  EXPECT_EQ(events.ui[2]["event"], "trace_text");
}

TEST(DecodedTexts, EveryHexFieldGainsItsTextAtAnyDepth) {
  const auto event =
      nlohmann::ordered_json::parse(std::string(R"({"event":"dump","caption_hex":")") + kPrivetHex +
                                    R"(","controls":[{"id":4001,"text_hex":"4f4b"}]})");
  const auto decoded = WithDecodedTexts(event, kCyrillicCodePage);
  EXPECT_EQ(decoded["caption"], "Привет");
  EXPECT_EQ(decoded["caption_hex"], kPrivetHex);
  EXPECT_EQ(decoded["controls"][0]["text"], "OK");
  EXPECT_EQ(decoded["controls"][0]["id"], 4001);
}

TEST(DecodedTexts, MalformedHexIsLeftAsItIs) {
  const auto event = nlohmann::ordered_json::parse(R"({"text_hex":"4g","caption_hex":"414"})");
  const auto decoded = WithDecodedTexts(event, kCyrillicCodePage);
  EXPECT_EQ(decoded, event);
}

TEST(TraceFile, ReadsOnlyCompleteLinesAndEachLineOnce) {
  TraceFile trace;
  std::ofstream writer(trace.path(), std::ios::app);
  writer << "{\"event\":\"a\"}\n{\"event\":\"b\"" << std::flush;
  EXPECT_EQ(trace.ReadNewLines(), std::vector<std::string>{"{\"event\":\"a\"}"});
  writer << "}\n" << std::flush;
  EXPECT_EQ(trace.ReadNewLines(), std::vector<std::string>{"{\"event\":\"b\"}"});
  EXPECT_TRUE(trace.ReadNewLines().empty());
}

TEST(TraceFile, IsRemovedWithItsOwner) {
  std::string path;
  {
    TraceFile trace;
    path = trace.path();
    EXPECT_TRUE(std::ifstream(path).good());
  }
  EXPECT_FALSE(std::ifstream(path).good());
}

}  // namespace
}  // namespace prcfg
