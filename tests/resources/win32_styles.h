// Win32 style values as Windows defines them, written out independently of
// the converter's table so that the tests check its numbers too.
#pragma once

#include <cstdint>

namespace resources_test {

inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsDisabled = 0x08000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000;
inline constexpr std::uint32_t kWsBorder = 0x00800000;
inline constexpr std::uint32_t kWsVScroll = 0x00200000;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;

inline constexpr std::uint32_t kDs3dLook = 0x0004;
inline constexpr std::uint32_t kDsSetFont = 0x0040;
inline constexpr std::uint32_t kDsModalFrame = 0x0080;
inline constexpr std::uint32_t kDsCenter = 0x0800;

inline constexpr std::uint32_t kEsPassword = 0x0020;
inline constexpr std::uint32_t kEsAutoHScroll = 0x0080;
inline constexpr std::uint32_t kEsNumber = 0x2000;

inline constexpr std::uint32_t kBsTypeMask = 0x000F;
inline constexpr std::uint32_t kBsPushButton = 0x0000;
inline constexpr std::uint32_t kBsDefPushButton = 0x0001;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x0003;
inline constexpr std::uint32_t kBsGroupBox = 0x0007;
inline constexpr std::uint32_t kBsNotify = 0x4000;

inline constexpr std::uint32_t kSsTypeMask = 0x001F;
inline constexpr std::uint32_t kSsLeft = 0x0000;
inline constexpr std::uint32_t kSsBitmap = 0x000E;

inline constexpr std::uint32_t kCbsTypeMask = 0x0003;
inline constexpr std::uint32_t kCbsDropDownList = 0x0003;
inline constexpr std::uint32_t kCbsSort = 0x0100;

inline constexpr std::uint32_t kSbsVert = 0x0001;

inline constexpr std::uint32_t kLvsTypeMask = 0x0003;
inline constexpr std::uint32_t kLvsIcon = 0x0000;
inline constexpr std::uint32_t kLvsSingleSel = 0x0004;
inline constexpr std::uint32_t kLvsShowSelAlways = 0x0008;
inline constexpr std::uint32_t kLvsAlignLeft = 0x0800;

inline constexpr std::uint32_t kDtsTimeFormat = 0x0009;
inline constexpr std::uint32_t kDtsRightAlign = 0x0020;

// Every control of a template is a visible child unless it says otherwise.
inline constexpr std::uint32_t kChildVisible = kWsChild | kWsVisible;
// A modal prompt: popup with caption, system menu and modal frame.
inline constexpr std::uint32_t kModalPrompt =
    kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont;

}  // namespace resources_test
