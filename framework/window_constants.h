// The Win32 values the framework and the prompts speak in: window and control
// styles, notification codes, scroll codes and state bits. Templates carry
// styles with these values, so they are kept exactly as Windows defines them.
#pragma once

#include <cstdint>

namespace framework {

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

// MessageBox types.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbIconExclamation = 0x30;

}  // namespace framework
