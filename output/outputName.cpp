#include "output/outputName.h"

#include <commdlg.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "output/writeOptions.h"
#include "output/writer.h"
#include "points/appState.h"

bool namesInputFile(const char* path) {
    if (std::strcmp(path, g_inputPath) == 0) return true;
    // Compare the files themselves: creating the output would empty the input before
    // it is read, whatever name reached it.
    std::error_code error;
    bool same = std::filesystem::equivalent(path, g_inputPath, error);
    return !error && same;
}

bool chooseOutputPath(HWND window) {
    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof(OPENFILENAMEA);
    dialog.hwndOwner = window;
    if (g_fileType == FileType::Space) {
        dialog.lpstrFilter = "TXT Files (*.txt)\0*.txt\0";
        dialog.lpstrDefExt = "txt";
    } else if (g_fileType == FileType::Tab) {
        dialog.lpstrFilter = "TSV Files (*.tsv)\0*.tsv\0";
        dialog.lpstrDefExt = "tsv";
    } else {
        dialog.lpstrFilter = "CSV Files (*.csv)\0*.csv\0";
        dialog.lpstrDefExt = "csv";
    }
    dialog.lpstrFile = g_outputPath;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER;

    for (;;) {
        if (!GetSaveFileNameA(&dialog) || g_outputPath[0] == '\0') {
            g_outputPath[0] = '\0';
            return false;
        }
        if (!namesInputFile(g_outputPath)) return true;
        MessageBoxA(window, "Can't SAVE AS input file name.\n      Select different file.", "WARNING !", MB_OK);
    }
}
