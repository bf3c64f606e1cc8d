// Long work a user can watch and stop. While a command's passes run, the thread that waits
// for their workers keeps the window's messages flowing, so that the system never takes
// the window for hung, but drops every command, click and key: nothing else can start.
// Esc asks a pass that may stop to stop. Once a pass has run for half a second, the
// caption shows the pass's name and the share of the file read; it is the window's own
// again when the watch ends.
#ifndef SKERROW_APP_COMMANDWATCH_H
#define SKERROW_APP_COMMANDWATCH_H

#include <windows.h>

#include <chrono>
#include <string>

#include "reader/passWatch.h"

struct CommandWatch {
    PassWatch watch;
    HWND window = NULL;
    const char* name = "";  // "Reading", "Drawing" or "Writing"
    bool stoppable = false;
    unsigned pass = 0;                            // the pass now watched
    std::chrono::steady_clock::time_point start;  // when it began
    std::string caption;                          // the window's own
    int shownShare = -1;                          // the share in the caption, in percent; -1 while none is shown
    bool quitAsked = false;
    int quitCode = 0;
};

// How long a pass runs before the caption shows how far it has come.
constexpr std::chrono::milliseconds kShowProgressAfter{500};

// Starts watching the command's passes; stoppable: Esc stops them.
void startCommandWatch(CommandWatch& watch, HWND window, const char* name, bool stoppable);

// Ends the watch: the caption is the window's own again, and a quit asked for meanwhile
// is asked for again.
void endCommandWatch(CommandWatch& watch);

// The caption while a pass of the given name has read the share (percent) of its file.
std::string progressCaption(const std::string& caption, const char* name, int share, bool stoppable);

#endif
