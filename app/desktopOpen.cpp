// Opening what the desktop hands over: the command line's arguments, split as Windows
// splits them, and the files of a drop.
#include "app/desktopOpen.h"

#include <shellapi.h>

#include "app/commands.h"

namespace {

const char kOneFileOnly[] = "Only one point file can be opened at a time.\n    Choose one file and try again.";
constexpr UINT kCountQuery = 0xFFFFFFFF;  // DragQueryFileA's file index asking for the count

std::vector<std::string> s_commandLinePaths;  // from WinMain until the message loop takes them

bool separates(char c) { return c == ' ' || c == '\t'; }

void openGivenPaths(HWND window, const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    if (paths.size() > 1) {
        MessageBoxA(window, kOneFileOnly, "Error", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    openGivenFile(window, paths[0].c_str());
}

std::vector<std::string> droppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, kCountQuery, NULL, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, NULL, 0);
        std::string path(length + 1, '\0');
        path.resize(DragQueryFileA(drop, i, &path[0], length + 1));
        paths.push_back(path);
    }
    return paths;
}

}  // namespace

std::vector<std::string> splitCommandLine(const char* commandLine) {
    std::vector<std::string> arguments;
    const char* c = commandLine ? commandLine : "";
    for (;;) {
        while (separates(*c)) ++c;
        if (*c == '\0') return arguments;
        std::string argument;
        bool quoted = false;
        while (*c != '\0' && (quoted || !separates(*c))) {
            size_t backslashes = 0;
            while (*c == '\\') {
                ++backslashes;
                ++c;
            }
            if (*c != '"') {
                argument.append(backslashes, '\\');
                if (*c != '\0' && (quoted || !separates(*c))) argument += *c++;
                continue;
            }
            argument.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                argument += '"';
            } else if (quoted && c[1] == '"') {
                argument += '"';
                ++c;
            } else {
                quoted = !quoted;
            }
            ++c;
        }
        arguments.push_back(argument);
    }
}

void openFromCommandLine(HWND window, const char* commandLine) {
    s_commandLinePaths = splitCommandLine(commandLine);
    if (!s_commandLinePaths.empty()) PostMessageA(window, WM_APP_OPENGIVEN, 0, 0);
}

void onDesktopOpen(HWND window, UINT message, WPARAM wParam) {
    if (message == WM_DROPFILES) {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        const std::vector<std::string> paths = droppedPaths(drop);
        // Finished before the Open, whose dialogs may stay a long time.
        DragFinish(drop);
        openGivenPaths(window, paths);
        return;
    }
    std::vector<std::string> paths;
    paths.swap(s_commandLinePaths);
    openGivenPaths(window, paths);
}
