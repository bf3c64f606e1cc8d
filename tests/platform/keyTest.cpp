// Keys on the main window: WM_KEYDOWN with the virtual-key code and the key data Windows
// gives, only while no modal window is open, never for system keys.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include <vector>

#include "platform/src/topLevel.h"
#include "testdriver.h"
#include "windowTestWindow.h"

namespace {

struct Key {
    WPARAM code;
    LPARAM data;
    bool operator==(const Key& other) const { return code == other.code && data == other.data; }
};

std::ostream& operator<<(std::ostream& out, const Key& k) {
    return out << "{0x" << std::hex << k.code << ", 0x" << k.data << std::dec << "}";
}

std::vector<Key> keysReceived() {
    std::vector<Key> keys;
    for (const ReceivedMessage& r : g_received)
        if (r.message == WM_KEYDOWN) keys.push_back({r.wParam, r.lParam});
    return keys;
}

// lParam of a first press: repeat count 1 and the scan code; extended keys set bit 24.
LPARAM firstPress(UINT scanCode, bool extended = false) {
    return 1 | (static_cast<LPARAM>(scanCode) << 16) | (extended ? LPARAM(1) << 24 : 0);
}
const LPARAM kRepeated = LPARAM(1) << 30;

class KeyTest : public TestWindow {
protected:
    void SetUp() override {
        TestWindow::SetUp();
        g_received.clear();
    }
    // A key press as Qt gives it to the window, with what the driver's keys do not send.
    void sendPress(int qtKey, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, qtKey, modifiers);
        QApplication::sendEvent(layer::topLevel(window)->frame, &event);
        td::pump();
    }
};

}  // namespace

TEST_F(KeyTest, PickingKeysArriveWithTheirCodesAndScanCodes) {
    td::key(window, VK_RETURN);
    td::key(window, VK_BACK);
    td::key(window, VK_ESCAPE);
    td::key(window, VK_LEFT);
    td::key(window, 'Z');
    td::key(window, '7');
    td::key(window, VK_NUMPAD7);
    td::key(window, VK_F2);
    EXPECT_EQ(keysReceived(), (std::vector<Key>{{0x0D, firstPress(0x1C)},
                                                {0x08, firstPress(0x0E)},
                                                {0x1B, firstPress(0x01)},
                                                {0x25, firstPress(0x4B, true)},
                                                {'Z', firstPress(0x2C)},
                                                {'7', firstPress(0x08)},
                                                {0x67, firstPress(0x47)},
                                                {0x71, firstPress(0x3C)}}));
}

TEST_F(KeyTest, QtKeysMapToTheirVirtualKeyCodes) {
    struct Row {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        Key expected;
    };
    const Row rows[] = {
        {Qt::Key_Enter, Qt::KeypadModifier, {0x0D, firstPress(0x1C, true)}},
        {Qt::Key_Tab, Qt::NoModifier, {0x09, firstPress(0x0F)}},
        {Qt::Key_Backtab, Qt::ShiftModifier, {0x09, firstPress(0x0F)}},
        {Qt::Key_Space, Qt::NoModifier, {0x20, firstPress(0x39)}},
        {Qt::Key_Delete, Qt::NoModifier, {0x2E, firstPress(0x53, true)}},
        {Qt::Key_Delete, Qt::KeypadModifier, {0x2E, firstPress(0x53)}},
        {Qt::Key_Home, Qt::KeypadModifier, {0x24, firstPress(0x47)}},
        {Qt::Key_A, Qt::ShiftModifier, {'A', firstPress(0x1E)}},
        {Qt::Key_S, Qt::ControlModifier, {'S', firstPress(0x1F)}},
        {Qt::Key_Minus, Qt::KeypadModifier, {0x6D, firstPress(0x4A)}},
        {Qt::Key_Slash, Qt::KeypadModifier, {0x6F, firstPress(0x35, true)}},
        {Qt::Key_F12, Qt::NoModifier, {0x7B, firstPress(0x58)}},
        {Qt::Key_Shift, Qt::ShiftModifier, {0x10, firstPress(0x2A)}},
    };
    for (const Row& row : rows) {
        g_received.clear();
        sendPress(row.qtKey, row.modifiers);
        EXPECT_EQ(keysReceived(), std::vector<Key>{row.expected}) << "Qt key 0x" << std::hex << row.qtKey;
    }
}

TEST_F(KeyTest, SystemKeysAndShiftedSymbolsPostNothing) {
    sendPress(Qt::Key_F, Qt::AltModifier);  // a menu mnemonic: WM_SYSKEYDOWN on Windows
    sendPress(Qt::Key_Alt, Qt::AltModifier);
    sendPress(Qt::Key_F10, Qt::NoModifier);
    sendPress(Qt::Key_Exclam, Qt::ShiftModifier);  // Shift+1 as Qt reports it
    EXPECT_TRUE(keysReceived().empty());
}

TEST_F(KeyTest, AHeldKeyRepeatsWithThePreviousStateBit) {
    td::holdKey(window, VK_BACK, 2);
    EXPECT_EQ(keysReceived(), (std::vector<Key>{{VK_BACK, firstPress(0x0E)},
                                                {VK_BACK, firstPress(0x0E) | kRepeated},
                                                {VK_BACK, firstPress(0x0E) | kRepeated}}));
}

TEST_F(KeyTest, AModalWindowTakesTheKeyboard) {
    td::expectModal([&](td::Modal& m) {
        td::key(window, VK_ESCAPE);
        m.answer(IDOK);
    });
    MessageBoxA(window, "Busy", "Note", MB_OK);
    EXPECT_TRUE(keysReceived().empty());
    td::key(window, VK_ESCAPE);
    EXPECT_EQ(keysReceived().size(), 1u);
    td::checkDone();
}

TEST_F(KeyTest, TranslateMessageAnswersForKeysAndPostsNoCharacter) {
    MSG key = {window, WM_KEYDOWN, 'A', firstPress(0x1E), 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG mouse = {window, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&mouse));
    td::pump();
    EXPECT_TRUE(g_received.empty());
}

TEST_F(KeyTest, AKeyNoKeyboardGivesIsATestFailure) {
    EXPECT_NONFATAL_FAILURE(td::key(window, 0xE8), "no key gives the virtual-key code 232");
}

TEST_F(KeyTest, TheActiveWindowsKeyboardFocusIsWhereKeysArePosted) {
    // The menu bar's keyboard navigation (Alt+F, ...) gives the focus back, when it ends, to
    // the widget that had it when it began; with none it would keep the focus and take
    // plain letters for its mnemonics (&AreaType).
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->window(), layer::topLevel(window)->frame);
    EXPECT_NE(focus, layer::topLevel(window)->menuBar);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(focus, &press);
    td::pump();
    EXPECT_EQ(keysReceived(), (std::vector<Key>{{'A', firstPress(0x1E)}}));
}
