#include "app/commandWatch.h"

#include <shellapi.h>

namespace {

// What may not reach the window while a pass runs: commands, the system's commands, the
// close box, dropped files, the program's own messages (a file to open), every key and
// every click or move of the pointer.
bool shutOut(UINT message) {
    return message == WM_COMMAND || message == WM_SYSCOMMAND || message == WM_CLOSE || message == WM_DROPFILES ||
           message == WM_MOUSELEAVE || message >= WM_APP || (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

constexpr int kFullShare = 100;

void whileWaiting(CommandWatch& command, const PassWatch& pass) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            if (command.stoppable) command.watch.stopAsked = true;
            continue;
        }
        if (msg.message == WM_QUIT) {
            command.quitAsked = true;
            command.quitCode = static_cast<int>(msg.wParam);
            continue;
        }
        if (shutOut(msg.message)) {
            if (msg.message == WM_DROPFILES) DragFinish(reinterpret_cast<HDROP>(msg.wParam));
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    const auto now = std::chrono::steady_clock::now();
    if (pass.passes != command.pass) {
        command.pass = pass.passes;
        command.start = now;
    }
    if (now - command.start < kShowProgressAfter) return;
    const unsigned long long total = pass.bytesToRead;
    const unsigned long long read = pass.bytesRead.load(std::memory_order_relaxed);
    const int share = total == 0 ? 0 : static_cast<int>(read >= total ? kFullShare : read * kFullShare / total);
    if (share == command.shownShare) return;
    command.shownShare = share;
    SetWindowTextA(command.window, progressCaption(command.caption, command.name, share, command.stoppable).c_str());
}

}  // namespace

std::string progressCaption(const std::string& caption, const char* name, int share, bool stoppable) {
    return caption + " - " + name + " " + std::to_string(share) + " %" + (stoppable ? " (Esc stops)" : "");
}

void startCommandWatch(CommandWatch& watch, HWND window, const char* name, bool stoppable) {
    watch.window = window;
    watch.name = name;
    watch.stoppable = stoppable;
    watch.start = std::chrono::steady_clock::now();
    char caption[256] = "";
    GetWindowTextA(window, caption, sizeof caption);
    watch.caption = caption;
    watch.watch.whileWaiting = [&watch](const PassWatch& pass) { whileWaiting(watch, pass); };
}

void endCommandWatch(CommandWatch& watch) {
    if (watch.shownShare >= 0) SetWindowTextA(watch.window, watch.caption.c_str());
    watch.shownShare = -1;
    if (watch.quitAsked) PostQuitMessage(watch.quitCode);
}
