// Keys as the layer posts them: a Qt key press on a top-level window becomes WM_KEYDOWN
// with the virtual-key code and the key data Windows gives it. Shared with the test driver,
// which presses keys by their virtual-key codes.
#ifndef SKERROW_PLATFORM_KEYBOARD_H
#define SKERROW_PLATFORM_KEYBOARD_H

#include <windows.h>

class QKeyEvent;

namespace layer {

// A key as Windows names it: the virtual-key code and the scan code of the US layout
// (what MapVirtualKey gives), with the extended-key flag of keys outside the original
// 83-key block.
struct VirtualKey {
    UINT code = 0;
    UINT scanCode = 0;
    bool extended = false;
};

// The Windows key for a Qt key press; false for keys the layer does not post: those with
// Alt held, Alt itself and F10 (system keys, WM_SYSKEYDOWN on Windows), and keys whose Qt
// code is a shifted symbol or has no simple virtual-key code.
bool virtualKeyOf(const QKeyEvent& event, VirtualKey* key);
// WM_KEYDOWN's lParam: repeat count 1, the scan code, the extended flag and, for a key that
// auto-repeats, the previous-state bit.
LPARAM keyDownData(const VirtualKey& key, bool autoRepeat);
// The other way, for the driver: the Qt key and whether it comes from the keypad; false
// for a code no Qt key press gives.
bool qtKeyOf(UINT virtualKey, int* qtKey, bool* keypad);

// A key press on the top-level window: posts WM_KEYDOWN when the key is one Windows would
// post it for and no modal window is open. True when it was posted.
bool postKeyDown(HWND hwnd, const QKeyEvent& event);

}  // namespace layer

#endif
