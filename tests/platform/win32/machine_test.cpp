#include "platform/machine.h"

#include <gtest/gtest.h>

#include "platform/dialog_host.h"
#include "platform/win32/win32_machine.h"

namespace platform::win32 {
namespace {

TEST(Win32Machine, IsTheMachineOfTheWindowsBuild) {
  EXPECT_NE(dynamic_cast<Win32Machine*>(&CurrentMachine()), nullptr);
}

TEST(Win32Machine, NamesTheUserItRunsAs) {
  Win32Machine machine;
  EXPECT_EQ(machine.InteractiveUserSid().rfind("S-1-5-", 0), 0u) << machine.InteractiveUserSid();
}

// A dialog that records what the host did with it.
class RecordingDialog : public HostedDialog {
 public:
  void Create() override { created = true; }
  int TemplateId() const override { return 4003; }
  std::string Title() const override { return {}; }
  std::vector<ControlSnapshot> Snapshot() const override { return {}; }
  bool Apply(const UserAction&) override { return false; }
  bool IsOpen() const override { return open; }
  int Result() const override { return result; }
  void End(int value) override {
    result = value;
    open = false;
  }

  bool created = false;
  bool open = true;
  int result = 0;
};

// Dialogs run in real windows here: a hosted (scripted) dialog ends as one
// that could not be created, before any of its own code runs.
TEST(Win32DialogHost, EndsEachDialogAsNotCreated) {
  RecordingDialog dialog;
  CurrentDialogHost().RunModal(dialog);
  EXPECT_FALSE(dialog.created);
  EXPECT_FALSE(dialog.open);
  EXPECT_EQ(dialog.result, -1);
}

}  // namespace
}  // namespace platform::win32
