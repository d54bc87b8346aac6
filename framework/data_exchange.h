// Dialog data exchange and validation: one call per bound field, in the
// order the class lists them. Reading a field that does not validate shows
// the framework's message in a box owned by the dialog, puts the focus on
// the field and stops the exchange (the dialog stays open).
#pragma once

#include <cstdint>
#include <string>

#include "framework/dialog.h"
#include "platform/kernel.h"

namespace framework {

// Ends an exchange early; UpdateData answers false.
struct DataExchangeFailure {};

class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saveAndValidate) : dialog_(dialog), saving_(saveAndValidate) {}

  // True while reading the controls into the members.
  bool saving() const { return saving_; }

  // DDX_Text: a control's text as a string, an int ("Enter an integer.")
  // or a double ("Enter a number."). Writing a text that the control already
  // shows changes nothing (and notifies nothing).
  void Text(int id, std::string& value);
  void Text(int id, int& value);
  void Text(int id, double& value);
  // DDV_MaxChars on the field exchanged last: reading refuses a longer text
  // ("Enter no more than %1 characters."); writing limits typing to `count`.
  void MaxChars(const std::string& value, int count);
  // DDV_MinMaxInt on the field exchanged last ("Enter an integer between %1 and %2.").
  void MinMaxInt(int value, int minimum, int maximum);
  // DDX_CBIndex: a combo box's selected index.
  void ComboIndex(int id, int& index);
  // DDX_Check: a check box's state.
  void Check(int id, int& state);
  // DDX_DateTimeCtrl: a picker's moment, as a SYSTEMTIME or as seconds since
  // 1970 read in local time (a CTime).
  void DateTime(int id, platform::SystemTime& value);
  void DateTime(int id, std::int64_t& value);
  // DDX_Control: attaches a control object.
  template <class T>
  void AttachControl(int id, ControlRef<T>& control) {
    control.Attach(dialog_, id);
  }

  // Shows `message` as a framework message owned by the dialog, focuses
  // the field exchanged last and ends the exchange.
  [[noreturn]] void Fail(const std::string& message);
  [[noreturn]] void Fail();

 private:
  Control& Prepare(int id, bool isEdit);

  Dialog& dialog_;
  bool saving_;
  int lastControl_ = 0;
  bool lastWasEdit_ = false;
};

// The caption of the framework's own messages: the application's name.
std::string FrameworkMessageCaption();

// A CTime's conversions: a local date and time to seconds since 1970, and
// back to the local date and time (the process's time zone).
std::int64_t SecondsFromLocalTime(const platform::SystemTime& time);
platform::SystemTime LocalTimeFromSeconds(std::int64_t seconds);

}  // namespace framework
