// The keyboard of top-level windows: Qt key presses turned into WM_KEYDOWN with the
// virtual-key codes and the key data Windows gives.
#include "keyboard.h"

#include <QKeyEvent>

#include "layer.h"
#include "modal.h"

namespace layer {
namespace {

struct KeyEntry {
    int qtKey;
    bool keypad;  // Qt's KeypadModifier: a key of the numeric keypad
    VirtualKey key;
};

// Set-1 scan codes of the US layout. The keypad's navigation keys (Num Lock off) share
// their scan codes with the dedicated keys, which are the extended ones.
const KeyEntry kKeys[] = {
    {Qt::Key_Backspace, false, {VK_BACK, 0x0E, false}},
    {Qt::Key_Tab, false, {VK_TAB, 0x0F, false}},
    {Qt::Key_Backtab, false, {VK_TAB, 0x0F, false}},  // Shift+Tab
    {Qt::Key_Return, false, {VK_RETURN, 0x1C, false}},
    {Qt::Key_Enter, true, {VK_RETURN, 0x1C, true}},
    {Qt::Key_Shift, false, {VK_SHIFT, 0x2A, false}},
    {Qt::Key_Control, false, {VK_CONTROL, 0x1D, false}},
    {Qt::Key_Escape, false, {VK_ESCAPE, 0x01, false}},
    {Qt::Key_Space, false, {VK_SPACE, 0x39, false}},
    {Qt::Key_PageUp, false, {VK_PRIOR, 0x49, true}},
    {Qt::Key_PageDown, false, {VK_NEXT, 0x51, true}},
    {Qt::Key_End, false, {VK_END, 0x4F, true}},
    {Qt::Key_Home, false, {VK_HOME, 0x47, true}},
    {Qt::Key_Left, false, {VK_LEFT, 0x4B, true}},
    {Qt::Key_Up, false, {VK_UP, 0x48, true}},
    {Qt::Key_Right, false, {VK_RIGHT, 0x4D, true}},
    {Qt::Key_Down, false, {VK_DOWN, 0x50, true}},
    {Qt::Key_Insert, false, {VK_INSERT, 0x52, true}},
    {Qt::Key_Delete, false, {VK_DELETE, 0x53, true}},
    {Qt::Key_PageUp, true, {VK_PRIOR, 0x49, false}},
    {Qt::Key_PageDown, true, {VK_NEXT, 0x51, false}},
    {Qt::Key_End, true, {VK_END, 0x4F, false}},
    {Qt::Key_Home, true, {VK_HOME, 0x47, false}},
    {Qt::Key_Left, true, {VK_LEFT, 0x4B, false}},
    {Qt::Key_Up, true, {VK_UP, 0x48, false}},
    {Qt::Key_Right, true, {VK_RIGHT, 0x4D, false}},
    {Qt::Key_Down, true, {VK_DOWN, 0x50, false}},
    {Qt::Key_Insert, true, {VK_INSERT, 0x52, false}},
    {Qt::Key_Delete, true, {VK_DELETE, 0x53, false}},
    {Qt::Key_Clear, true, {VK_CLEAR, 0x4C, false}},
    {Qt::Key_0, false, {'0', 0x0B, false}},
    {Qt::Key_1, false, {'1', 0x02, false}},
    {Qt::Key_2, false, {'2', 0x03, false}},
    {Qt::Key_3, false, {'3', 0x04, false}},
    {Qt::Key_4, false, {'4', 0x05, false}},
    {Qt::Key_5, false, {'5', 0x06, false}},
    {Qt::Key_6, false, {'6', 0x07, false}},
    {Qt::Key_7, false, {'7', 0x08, false}},
    {Qt::Key_8, false, {'8', 0x09, false}},
    {Qt::Key_9, false, {'9', 0x0A, false}},
    {Qt::Key_0, true, {VK_NUMPAD0, 0x52, false}},
    {Qt::Key_1, true, {VK_NUMPAD1, 0x4F, false}},
    {Qt::Key_2, true, {VK_NUMPAD2, 0x50, false}},
    {Qt::Key_3, true, {VK_NUMPAD3, 0x51, false}},
    {Qt::Key_4, true, {VK_NUMPAD4, 0x4B, false}},
    {Qt::Key_5, true, {VK_NUMPAD5, 0x4C, false}},
    {Qt::Key_6, true, {VK_NUMPAD6, 0x4D, false}},
    {Qt::Key_7, true, {VK_NUMPAD7, 0x47, false}},
    {Qt::Key_8, true, {VK_NUMPAD8, 0x48, false}},
    {Qt::Key_9, true, {VK_NUMPAD9, 0x49, false}},
    {Qt::Key_Asterisk, true, {VK_MULTIPLY, 0x37, false}},
    {Qt::Key_Plus, true, {VK_ADD, 0x4E, false}},
    {Qt::Key_Minus, true, {VK_SUBTRACT, 0x4A, false}},
    {Qt::Key_Period, true, {VK_DECIMAL, 0x53, false}},
    {Qt::Key_Comma, true, {VK_DECIMAL, 0x53, false}},  // the keypad's separator in some layouts
    {Qt::Key_Slash, true, {VK_DIVIDE, 0x35, true}},
    {Qt::Key_A, false, {'A', 0x1E, false}},
    {Qt::Key_B, false, {'B', 0x30, false}},
    {Qt::Key_C, false, {'C', 0x2E, false}},
    {Qt::Key_D, false, {'D', 0x20, false}},
    {Qt::Key_E, false, {'E', 0x12, false}},
    {Qt::Key_F, false, {'F', 0x21, false}},
    {Qt::Key_G, false, {'G', 0x22, false}},
    {Qt::Key_H, false, {'H', 0x23, false}},
    {Qt::Key_I, false, {'I', 0x17, false}},
    {Qt::Key_J, false, {'J', 0x24, false}},
    {Qt::Key_K, false, {'K', 0x25, false}},
    {Qt::Key_L, false, {'L', 0x26, false}},
    {Qt::Key_M, false, {'M', 0x32, false}},
    {Qt::Key_N, false, {'N', 0x31, false}},
    {Qt::Key_O, false, {'O', 0x18, false}},
    {Qt::Key_P, false, {'P', 0x19, false}},
    {Qt::Key_Q, false, {'Q', 0x10, false}},
    {Qt::Key_R, false, {'R', 0x13, false}},
    {Qt::Key_S, false, {'S', 0x1F, false}},
    {Qt::Key_T, false, {'T', 0x14, false}},
    {Qt::Key_U, false, {'U', 0x16, false}},
    {Qt::Key_V, false, {'V', 0x2F, false}},
    {Qt::Key_W, false, {'W', 0x11, false}},
    {Qt::Key_X, false, {'X', 0x2D, false}},
    {Qt::Key_Y, false, {'Y', 0x15, false}},
    {Qt::Key_Z, false, {'Z', 0x2C, false}},
    {Qt::Key_F1, false, {VK_F1, 0x3B, false}},
    {Qt::Key_F2, false, {VK_F2, 0x3C, false}},
    {Qt::Key_F3, false, {VK_F3, 0x3D, false}},
    {Qt::Key_F4, false, {VK_F4, 0x3E, false}},
    {Qt::Key_F5, false, {VK_F5, 0x3F, false}},
    {Qt::Key_F6, false, {VK_F6, 0x40, false}},
    {Qt::Key_F7, false, {VK_F7, 0x41, false}},
    {Qt::Key_F8, false, {VK_F8, 0x42, false}},
    {Qt::Key_F9, false, {VK_F9, 0x43, false}},
    {Qt::Key_F11, false, {VK_F11, 0x57, false}},
    {Qt::Key_F12, false, {VK_F12, 0x58, false}},
};

// WM_KEYDOWN's lParam fields.
constexpr LPARAM kRepeatCountOne = 1;
constexpr int kScanCodeShift = 16;
constexpr LPARAM kExtendedKey = LPARAM(1) << 24;
constexpr LPARAM kPreviouslyDown = LPARAM(1) << 30;

}  // namespace

bool virtualKeyOf(const QKeyEvent& event, VirtualKey* key) {
    if (event.modifiers() & Qt::AltModifier) return false;
    bool keypad = (event.modifiers() & Qt::KeypadModifier) != 0;
    for (const KeyEntry& entry : kKeys)
        if (entry.qtKey == event.key() && entry.keypad == keypad) {
            *key = entry.key;
            return true;
        }
    return false;
}

LPARAM keyDownData(const VirtualKey& key, bool autoRepeat) {
    LPARAM data = kRepeatCountOne | (static_cast<LPARAM>(key.scanCode & 0xff) << kScanCodeShift);
    if (key.extended) data |= kExtendedKey;
    if (autoRepeat) data |= kPreviouslyDown;
    return data;
}

bool qtKeyOf(UINT virtualKey, int* qtKey, bool* keypad) {
    for (const KeyEntry& entry : kKeys)
        if (entry.key.code == virtualKey) {
            *qtKey = entry.qtKey;
            *keypad = entry.keypad;
            return true;
        }
    return false;
}

bool postKeyDown(HWND hwnd, const QKeyEvent& event) {
    // A modal window takes the keyboard from its owner, as on Windows.
    if (!isWindow(hwnd) || modalWindowOpen()) return false;
    VirtualKey key;
    if (!virtualKeyOf(event, &key)) return false;
    return PostMessageA(hwnd, WM_KEYDOWN, key.code, keyDownData(key, event.isAutoRepeat())) != FALSE;
}

}  // namespace layer
