// The writer's command: the move question, the output name, the pass, and the one message
// that reports it. No table of points is kept.
#include <string>

#include "output/moveQuestion.h"
#include "output/outputName.h"
#include "output/writePass.h"
#include "output/writer.h"
#include "points/appState.h"
#include "points/selectionArea.h"

char g_outputPath[MAX_PATH] = "";

namespace {

void showError(HWND window, const std::string& text) {
    MessageBoxA(window, text.c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
}

// Creates the output empty, replacing any file of that name, and opens output on it.
// Binary, so that every line ends in "\r\n" on every platform. The stream writes on from
// the end of the file just emptied rather than emptying it a second time: Linux's ext4
// takes a file emptied on opening for one being replaced in place, and on closing it
// starts writing the whole output to the disk in the writer's own time.
bool createOutput(std::ofstream& output) {
    HANDLE file = CreateFileA(g_outputPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    output.open(g_outputPath, std::ios::out | std::ios::binary | std::ios::app);
    return output.is_open();
}

// Reads the point file and writes the output; reports the outcome in one message box.
void writeFile(HWND window) {
    const std::string input = g_inputPath;
    const std::string outputName = g_outputPath;
    LineReader reader;
    // The point file is opened first, so that a vanished file leaves no empty output behind;
    // the pass opens it again on each of its workers.
    if (!openReader(reader, g_inputPath, headerChoice())) {
        showError(window, "Can't open point file\n" + input + "\nNothing was written.");
        return;
    }
    // Emptied, cut, grown or replaced since the Open: its points are not the ones shown,
    // counted and selected, so none of them is written.
    if (!sameStamp(stampOf(g_inputPath), g_inputStamp)) {
        closeReader(reader);
        showError(window, "Point file changed since it was opened\n" + input + "\nOpen it again. Nothing was written.");
        return;
    }
    std::ofstream output;
    if (!createOutput(output)) {
        closeReader(reader);
        showError(window, "Can't create file\n" + outputName + "\nNothing was written.");
        return;
    }

    closeReader(reader);
    long long count = 0;
    PassResult result = writeChosenPoints(output, openedFile(), selectedArea(g_selectAll), writeChoices(), &count);
    output.flush();
    output.close();  // a failed flush at close sets failbit
    if (result == PassResult::Done && output.fail()) result = PassResult::WriteFailed;
    // Changed while it was read: what was written may mix the old file and the new.
    if (result == PassResult::Done && !sameStamp(stampOf(g_inputPath), g_inputStamp)) result = PassResult::ReadFailed;

    if (result == PassResult::ReadFailed) {
        showError(window, "Can't read point file to its end\n" + input + "\n" + outputName + " is incomplete.");
    } else if (result == PassResult::WriteFailed) {
        showError(window, "Can't write file\n" + outputName + "\nThe points were not all saved.");
    } else {
        const std::string text = std::to_string(count) + " points written to " + outputName;
        MessageBoxA(window, text.c_str(), "File Saved", MB_OK);
    }
}

}  // namespace

WriteEnd writePoints(HWND window) {
    g_outputPath[0] = '\0';
    if (g_conversion == Conversion::Move && !askMoveQuestion(window)) {
        // Declined: the menu items keep their state and the cursor is untouched.
        g_viewState = ViewState::Fitted;
        g_selectAll = 0;
        return WriteEnd::Declined;
    }

    const bool chosen = chooseOutputPath(window);
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    if (chosen) writeFile(window);

    g_elevationsOnly = 0;
    g_selectAll = 0;
    g_viewState = ViewState::Fitted;
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    return WriteEnd::Ended;
}
