// The writer's command: the move question, the output name, the save, and the one message
// that reports it. No table of points is kept.
#include <string>

#include "output/moveQuestion.h"
#include "output/outputName.h"
#include "output/safeSave.h"
#include "output/writeMessages.h"
#include "output/writePass.h"
#include "output/writer.h"
#include "points/appState.h"
#include "points/selectionArea.h"

char g_outputPath[MAX_PATH] = "";

namespace {

// The ending of a pass that did not write every point.
WriteEnding endingOf(const PassOutcome& pass) {
    switch (pass.result) {
    case PassResult::Done: return WriteEnding::Saved;
    case PassResult::ReadFailed: return WriteEnding::ReadFailed;
    case PassResult::ValueTooLarge: return WriteEnding::ValueTooLarge;
    case PassResult::WriteFailed: break;
    }
    return pass.writeError == ERROR_DISK_FULL ? WriteEnding::DiskFull : WriteEnding::CantWrite;
}

// Reads the point file and writes the chosen points into a new file, which takes the
// chosen name's place only when it is whole, on the disk, and made from the very bytes the
// Open read: every other ending leaves the chosen name as it was.
WriteReport saveFile(PassWatch* watch) {
    const OpenedFile file = openedFile();
    WriteReport report{WriteEnding::Saved, file.path, g_outputPath};
    LineReader reader;
    // The point file is opened first, so that a vanished file leaves nothing behind; the
    // pass opens it again on each of its workers.
    if (!openReader(reader, file.path, file.header)) {
        report.ending = WriteEnding::CantOpenInput;
        return report;
    }
    closeReader(reader);
    // Changed since the Open: its points are not the ones shown, counted and selected, so
    // none of them is written.
    const FileStamp atStart = stampOf(file.path);
    if (!sameStamp(atStart, file.stamp)) {
        report.ending = WriteEnding::InputChanged;
        return report;
    }
    SaveTarget target;
    if ((report.ending = findSaveTarget(g_outputPath, &target, &report.kind)) != WriteEnding::Saved) return report;
    HANDLE output = createTemporary(&target);
    if (output == INVALID_HANDLE_VALUE) {
        report.ending = WriteEnding::CantCreate;
        return report;
    }

    PassOutcome pass = writeChosenPoints(output, file, selectedArea(g_selectAll), writeChoices(), watch);
    if (pass.result == PassResult::Done && !FlushFileBuffers(output)) {
        pass.result = PassResult::WriteFailed;
        pass.writeError = GetLastError();
    }
    CloseHandle(output);
    report.ending = endingOf(pass);
    report.count = pass.count;
    report.line = pass.line;
    // Changed while it was read, by its stamp or, where a change keeps the stamp, by its
    // bytes: what was written may mix the old file and the new. A change that kept size
    // and times shows in the bytes alone; its status time, which no program sets back,
    // tells whether it came before the write began.
    const bool changed = !sameStamp(stampOf(file.path), file.stamp) ||
                         (report.ending == WriteEnding::Saved && pass.checksum != file.checksum);
    if (changed && report.ending != WriteEnding::CantWrite && report.ending != WriteEnding::DiskFull)
        report.ending =
            atStart.changed != file.stamp.changed ? WriteEnding::InputChanged : WriteEnding::ChangedWhileRead;
    // Stopped by the user, at any point before the new file would take the chosen name.
    if (stopAsked(watch)) report.ending = WriteEnding::Stopped;
    if (report.ending == WriteEnding::Saved && !putInPlace(target)) report.ending = WriteEnding::CantReplace;
    if (report.ending != WriteEnding::Saved) removeTemporary(target);
    return report;
}

}  // namespace

WriteEnd writePoints(HWND window, PassWatch* watch) {
    g_outputPath[0] = '\0';
    if (g_conversion == Conversion::Move && !askMoveQuestion(window)) {
        // Declined: the menu items keep their state and the cursor is untouched.
        g_viewState = ViewState::Fitted;
        g_selectAll = 0;
        return WriteEnd::Declined;
    }

    const bool chosen = chooseOutputPath(window);
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    if (chosen) {
        const WriteMessage message = writeMessage(saveFile(watch));
        const UINT style = message.caption == std::string("Error") ? MB_OK | MB_ICONEXCLAMATION : MB_OK;
        MessageBoxA(window, message.text.c_str(), message.caption, style);
    }

    g_elevationsOnly = 0;
    g_selectAll = 0;
    g_viewState = ViewState::Fitted;
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    return WriteEnd::Ended;
}
