// The dialog host: runs a modal dialog on the calling thread until it ends.
// On Windows this is the system's modal loop; the simulated machine runs
// dialogs headless and lets a user (a script or a person at a terminal) act
// on them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/kernel.h"
#include "platform/win_types.h"

namespace platform {

// What a user can do to a dialog. Texts are in the ANSI code page.
struct UserAction {
  enum class Kind {
    Type,    // keystrokes into `control`, one character at a time
    Paste,   // `text` into `control` at the caret, replacing the selection
    Clear,   // delete the whole text of `control`
    Click,   // a button
    Select,  // item `index` of a combo box or list
    Check,   // a check box to `index` (0 or 1)
    Scroll,  // a scroll bar: `scrollCode` (SB_*), `index` the thumb position
    Pick,    // a date-time picker to `time`
    Key,     // one character to the focused control
    Enter,
    Escape,
    Close,  // the close box
    Dump,   // record every control's state
  };
  Kind kind = Kind::Dump;
  int control = 0;
  std::string text;
  int index = 0;
  int scrollCode = 0;
  SystemTime time{};
};

// A control's state as a user sees it (and as `dump` records it).
struct ControlSnapshot {
  int id = 0;
  std::string kind;  // "edit", "button", "check box", "static", "combo box", ...
  std::string text;  // ANSI
  bool enabled = true;
  bool visible = true;
  int checked = 0;
  int selectionStart = 0, selectionEnd = 0;  // edits: the selection; lists: the selected item
  std::vector<std::string> items;            // combo boxes and lists
  int scrollPosition = 0;
  bool lineUpEnabled = true, lineDownEnabled = true;  // scroll bar arrows
};

// The side of a dialog the host drives; the framework's dialogs implement it.
class HostedDialog {
 public:
  virtual ~HostedDialog() = default;
  // Builds the window and runs its initialisation (WM_INITDIALOG); the host
  // calls it once the window exists, so that boxes shown meanwhile have it
  // as their owner.
  virtual void Create() = 0;
  virtual int TemplateId() const = 0;
  virtual std::string Title() const = 0;  // ANSI
  virtual std::vector<ControlSnapshot> Snapshot() const = 0;
  // Applies one action; false when the dialog refused it (no such control,
  // disabled or hidden control, wrong kind).
  virtual bool Apply(const UserAction& action) = 0;
  // Whether the action applied last was taken, once its input has reached the
  // dialog. A dialog that knows at once (Apply's answer) always says true;
  // a real window learns it only after its message loop has handled the
  // keystrokes.
  virtual bool Settle() { return true; }
  virtual bool IsOpen() const = 0;
  // The result the dialog closed with (meaningful once closed).
  virtual int Result() const = 0;
  // Closes the dialog with `result` (a host's last resort when a dialog
  // stays open after Escape).
  virtual void End(int result) = 0;
};

// A hosted dialog is its own window: the handle that owns its message boxes.
inline WindowHandle WindowOf(HostedDialog& dialog) { return &dialog; }

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // Creates the dialog (HostedDialog::Create), lets the user act until it
  // ends, and returns when it has closed.
  virtual void RunModal(HostedDialog& dialog) = 0;
};

}  // namespace platform

namespace platform {

// The dialog host of the current machine. The first call without an
// installed host creates the platform's default one.
DialogHost& CurrentDialogHost();
// Replaces the current host (tests). Returns the previous one.
std::unique_ptr<DialogHost> InstallDialogHost(std::unique_ptr<DialogHost> host);
// Provided by the platform implementation linked in.
std::unique_ptr<DialogHost> CreateDefaultDialogHost();

}  // namespace platform
