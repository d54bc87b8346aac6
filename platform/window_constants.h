// The Win32 values the framework, the prompts and the window implementations
// speak in: window and control styles, control messages, notification codes,
// scroll codes and state bits. Templates carry styles with these values, and
// the real windows take the messages as they stand, so they are kept exactly
// as Windows defines them.
#pragma once

#include <cstdint>

namespace platform::window {

// Dialog results and the standard button ids.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Window styles.
inline constexpr std::uint32_t kWsTabStop = 0x00010000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsDisabled = 0x08000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;

// Button styles (the low four bits are the button's type).
inline constexpr std::uint32_t kBsTypeMask = 0x0F;
inline constexpr std::uint32_t kBsPushButton = 0x0;
inline constexpr std::uint32_t kBsDefPushButton = 0x1;
inline constexpr std::uint32_t kBsCheckBox = 0x2;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x3;
inline constexpr std::uint32_t kBsRadioButton = 0x4;
inline constexpr std::uint32_t kBs3State = 0x5;
inline constexpr std::uint32_t kBsAuto3State = 0x6;
inline constexpr std::uint32_t kBsGroupBox = 0x7;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x9;

// Edit styles.
inline constexpr std::uint32_t kEsPassword = 0x0020;
inline constexpr std::uint32_t kEsAutoHScroll = 0x0080;
inline constexpr std::uint32_t kEsReadOnly = 0x0800;
inline constexpr std::uint32_t kEsNumber = 0x2000;

// Static styles: the low five bits are the static's type; these show a picture.
inline constexpr std::uint32_t kSsTypeMask = 0x1F;
inline constexpr std::uint32_t kSsIcon = 0x03;
inline constexpr std::uint32_t kSsBitmap = 0x0E;
inline constexpr std::uint32_t kSsEnhMetaFile = 0x0F;
inline constexpr bool ShowsPicture(std::uint32_t staticStyle) {
  const std::uint32_t type = staticStyle & kSsTypeMask;
  return type == kSsIcon || type == kSsBitmap || type == kSsEnhMetaFile;
}

// Combo box styles.
inline constexpr std::uint32_t kCbsTypeMask = 0x3;
inline constexpr std::uint32_t kCbsSimple = 0x1;
inline constexpr std::uint32_t kCbsDropDown = 0x2;
inline constexpr std::uint32_t kCbsDropDownList = 0x3;
inline constexpr std::uint32_t kCbsSort = 0x0100;
inline constexpr int kCbErr = -1;

// Scroll bar styles, codes and arrow flags.
inline constexpr std::uint32_t kSbsVert = 0x1;
inline constexpr int kSbLineUp = 0;
inline constexpr int kSbLineDown = 1;
inline constexpr int kSbPageUp = 2;
inline constexpr int kSbPageDown = 3;
inline constexpr int kSbThumbPosition = 4;
inline constexpr int kSbThumbTrack = 5;
inline constexpr int kSbTop = 6;
inline constexpr int kSbBottom = 7;
inline constexpr int kSbEndScroll = 8;
inline constexpr unsigned kEsbEnableBoth = 0x0;
inline constexpr unsigned kEsbDisableUp = 0x1;  // also ESB_DISABLE_LEFT
inline constexpr unsigned kEsbDisableDown = 0x2;
inline constexpr unsigned kEsbDisableBoth = 0x3;

// List view styles, state bits and item search flags.
inline constexpr std::uint32_t kLvsSingleSel = 0x0004;
inline constexpr std::uint32_t kLvsShowSelAlways = 0x0008;
inline constexpr unsigned kLvisFocused = 0x0001;
inline constexpr unsigned kLvisSelected = 0x0002;
inline constexpr unsigned kLvniAll = 0x0;
inline constexpr unsigned kLvniFocused = 0x1;
inline constexpr unsigned kLvniSelected = 0x2;
inline constexpr int kLvsilNormal = 0;
inline constexpr int kLvsilSmall = 1;

// Date-time picker styles, range flags and value flags.
inline constexpr std::uint32_t kDtsUpDown = 0x0001;
inline constexpr std::uint32_t kDtsLongDateFormat = 0x0004;
inline constexpr std::uint32_t kDtsTimeFormat = 0x0009;
inline constexpr std::uint32_t kDtsRightAlign = 0x0020;
inline constexpr unsigned kGdtrMin = 0x1;
inline constexpr unsigned kGdtrMax = 0x2;
inline constexpr unsigned kGdtValid = 0;
inline constexpr unsigned kGdtNone = 1;

// WM_COMMAND notification codes.
inline constexpr int kBnClicked = 0;
inline constexpr int kEnChange = 0x0300;
inline constexpr int kEnUpdate = 0x0400;
inline constexpr int kEnMaxText = 0x0501;
inline constexpr int kCbnSelChange = 1;
inline constexpr int kCbnEditChange = 5;

// WM_NOTIFY codes.
inline constexpr int kNmClick = -2;
inline constexpr int kLvnItemChanged = -101;
inline constexpr int kDtnDateTimeChange = -759;

// SetWindowPos.
inline constexpr int kHwndTop = 0;
inline constexpr int kHwndTopMost = -1;
inline constexpr int kHwndNoTopMost = -2;
inline constexpr unsigned kSwpNoSize = 0x0001;
inline constexpr unsigned kSwpNoMove = 0x0002;
inline constexpr unsigned kSwpNoOwnerZOrder = 0x0200;

// Edit control messages.
inline constexpr unsigned kEmGetSel = 0x00B0;
inline constexpr unsigned kEmSetSel = 0x00B1;
inline constexpr unsigned kEmScrollCaret = 0x00B7;
inline constexpr unsigned kEmReplaceSel = 0x00C2;
inline constexpr unsigned kEmLimitText = 0x00C5;
inline constexpr unsigned kEmCanUndo = 0x00C6;
inline constexpr unsigned kEmUndo = 0x00C7;
inline constexpr unsigned kEmSetPasswordChar = 0x00CC;
inline constexpr unsigned kEmEmptyUndoBuffer = 0x00CD;
inline constexpr unsigned kEmGetPasswordChar = 0x00D2;
inline constexpr unsigned kEmGetLimitText = 0x00D5;

// Button messages.
inline constexpr unsigned kBmGetCheck = 0x00F0;
inline constexpr unsigned kBmSetCheck = 0x00F1;

// Scroll bar messages.
inline constexpr unsigned kSbmSetPos = 0x00E0;
inline constexpr unsigned kSbmGetPos = 0x00E1;
inline constexpr unsigned kSbmSetRange = 0x00E2;
inline constexpr unsigned kSbmGetRange = 0x00E3;
inline constexpr unsigned kSbmEnableArrows = 0x00E4;

// Static control messages (a bitmap or icon shown by a static).
inline constexpr unsigned kStmSetImage = 0x0172;
inline constexpr unsigned kStmGetImage = 0x0173;

// Combo box messages.
inline constexpr unsigned kCbLimitText = 0x0141;
inline constexpr unsigned kCbAddString = 0x0143;
inline constexpr unsigned kCbDeleteString = 0x0144;
inline constexpr unsigned kCbGetCount = 0x0146;
inline constexpr unsigned kCbGetCurSel = 0x0147;
inline constexpr unsigned kCbGetLbText = 0x0148;
inline constexpr unsigned kCbGetLbTextLen = 0x0149;
inline constexpr unsigned kCbInsertString = 0x014A;
inline constexpr unsigned kCbResetContent = 0x014B;
inline constexpr unsigned kCbFindString = 0x014C;
inline constexpr unsigned kCbSetCurSel = 0x014E;
inline constexpr unsigned kCbGetItemData = 0x0150;
inline constexpr unsigned kCbSetItemData = 0x0151;
inline constexpr unsigned kCbFindStringExact = 0x0158;

// List view messages (the ANSI ones). Those taking an item or a column take
// a ListViewItem or ListViewColumn (platform/window.h).
inline constexpr unsigned kLvmGetImageList = 0x1002;
inline constexpr unsigned kLvmSetImageList = 0x1003;
inline constexpr unsigned kLvmGetItemCount = 0x1004;
inline constexpr unsigned kLvmGetItem = 0x1005;
inline constexpr unsigned kLvmSetItem = 0x1006;
inline constexpr unsigned kLvmInsertItem = 0x1007;
inline constexpr unsigned kLvmDeleteItem = 0x1008;
inline constexpr unsigned kLvmDeleteAllItems = 0x1009;
inline constexpr unsigned kLvmGetNextItem = 0x100C;
inline constexpr unsigned kLvmEnsureVisible = 0x1013;
inline constexpr unsigned kLvmInsertColumn = 0x101B;
inline constexpr unsigned kLvmGetTopIndex = 0x1027;
inline constexpr unsigned kLvmSetItemState = 0x102B;
inline constexpr unsigned kLvmGetItemState = 0x102C;
inline constexpr unsigned kLvmGetItemText = 0x102D;
inline constexpr unsigned kLvmSetItemText = 0x102E;
// LVITEM's mask bits.
inline constexpr unsigned kLvifText = 0x0001;
inline constexpr unsigned kLvifImage = 0x0002;
inline constexpr unsigned kLvifParam = 0x0004;
inline constexpr unsigned kLvifState = 0x0008;

// Date-time picker messages; the times are SystemTime (platform/kernel.h).
inline constexpr unsigned kDtmGetSystemTime = 0x1001;
inline constexpr unsigned kDtmSetSystemTime = 0x1002;
inline constexpr unsigned kDtmGetRange = 0x1003;
inline constexpr unsigned kDtmSetRange = 0x1004;
inline constexpr unsigned kDtmSetFormat = 0x1005;

// MessageBox types.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbIconExclamation = 0x30;

}  // namespace platform::window
