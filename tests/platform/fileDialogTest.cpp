// The open and save dialogs: what they offer, the checks they make before letting a name
// go, and what they hand back in the structure.
#include <commdlg.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/scratchFolder.h"
#include "testdriver.h"

namespace {

namespace fs = std::filesystem;

const DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER;
const DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;

class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeScratchFolder("skerrow-filedialog-", false).string();  // shared with a death test's child
        std::memset(buffer, 0, sizeof buffer);
        std::memset(&ofn, 0, sizeof ofn);
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFile = buffer;
        ofn.nMaxFile = sizeof buffer;
    }
    void TearDown() override {
        td::checkDone();
        fs::remove_all(dir);
    }

    void saveAs(const char* filter, const char* extension) {
        ofn.lpstrFilter = filter;
        ofn.lpstrDefExt = extension;
        ofn.Flags = kSaveFlags;
    }
    void open() {
        ofn.lpstrFilter = "Point Files (*.csv)\0*.csv\0";
        ofn.lpstrDefExt = "csv";
        ofn.Flags = kOpenFlags;
    }
    std::string touch(const std::string& name) {
        std::string path = dir + "/" + name;
        std::ofstream(path) << "1,2\n";
        return path;
    }

    std::string dir;
    char buffer[MAX_PATH];
    OPENFILENAMEA ofn;
};

TEST_F(FileDialogTest, SaveDialogOffersItsFilterAndAppendsTheDefaultExtension) {
    saveAs("TSV Files (*.tsv)\0*.tsv\0", "tsv");
    td::expectModal([&](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::SaveFile);
        EXPECT_EQ(m.caption(), "Save As");
        EXPECT_EQ(m.filter(), "TSV Files (*.tsv)|*.tsv");
        EXPECT_EQ(m.defaultExtension(), "tsv");
        EXPECT_EQ(m.flags(), static_cast<DWORD>(0x80806));
        m.choose(dir + "/out");
    });
    ASSERT_EQ(GetSaveFileNameA(&ofn), TRUE);
    std::string expected = dir + "/out.tsv";
    EXPECT_EQ(std::string(buffer), expected);
    EXPECT_EQ(ofn.nFileOffset, dir.size() + 1);
    EXPECT_EQ(ofn.nFileExtension, expected.size() - 3);
    EXPECT_EQ(std::string(buffer + ofn.nFileOffset), "out.tsv");
    EXPECT_FALSE(fs::exists(expected));  // choosing a name creates nothing
}

struct NameRow {
    std::string typed;
    std::string returned;  // name part
    int extensionFromEnd;  // nFileExtension counted back from the end, 0 for none
};

class FileDialogName : public FileDialogTest, public ::testing::WithParamInterface<NameRow> {};

TEST_P(FileDialogName, DefaultExtensionOnlyWhenNoneTyped) {
    saveAs("CSV Files (*.csv)\0*.csv\0", GetParam().typed == "noext" ? nullptr : "csv");
    td::expectModal([&](td::Modal& m) { m.choose(dir + "/" + GetParam().typed); });
    ASSERT_EQ(GetSaveFileNameA(&ofn), TRUE);
    std::string path(buffer);
    EXPECT_EQ(path, dir + "/" + GetParam().returned);
    EXPECT_EQ(ofn.nFileOffset, dir.size() + 1);
    int expectedExtension =
        GetParam().extensionFromEnd ? static_cast<int>(path.size()) - GetParam().extensionFromEnd : 0;
    EXPECT_EQ(ofn.nFileExtension, expectedExtension);
}

INSTANTIATE_TEST_SUITE_P(Names, FileDialogName,
                         ::testing::Values(NameRow{"points", "points.csv", 3}, NameRow{"points.txt", "points.txt", 3},
                                           NameRow{"a.b.c", "a.b.c", 1}, NameRow{"noext", "noext", 0},
                                           NameRow{"./sub/../p", "p.csv", 3}));

TEST_F(FileDialogTest, OverwriteQuestionYesReplaces) {
    saveAs("CSV Files (*.csv)\0*.csv\0", "csv");
    touch("out.csv");
    td::expectModal([&](td::Modal& m) { m.choose(dir + "/out"); });
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::MessageBox);
        EXPECT_EQ(m.caption(), "Confirm Save As");
        EXPECT_EQ(m.text(), "out.csv already exists.\nDo you want to replace it?");
        EXPECT_EQ(m.style(), static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
        m.answer(IDYES);
    });
    ASSERT_EQ(GetSaveFileNameA(&ofn), TRUE);
    EXPECT_EQ(std::string(buffer), dir + "/out.csv");
}

TEST_F(FileDialogTest, OverwriteQuestionNoReturnsToTheDialog) {
    saveAs("CSV Files (*.csv)\0*.csv\0", "csv");
    touch("out.csv");
    bool stillOpen = false;
    td::expectModal([&](td::Modal& m) {
        m.choose(dir + "/out.csv");
        // Still the save dialog: another name goes through.
        stillOpen = true;
        m.choose(dir + "/other.csv");
    });
    td::expectMessage("Confirm Save As", "out.csv already exists.\nDo you want to replace it?", IDNO);
    ASSERT_EQ(GetSaveFileNameA(&ofn), TRUE);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(std::string(buffer), dir + "/other.csv");
}

TEST_F(FileDialogTest, NoOverwriteQuestionWithoutTheFlag) {
    saveAs("CSV Files (*.csv)\0*.csv\0", "csv");
    ofn.Flags = OFN_EXPLORER;
    touch("out.csv");
    td::expectModal([&](td::Modal& m) { m.choose(dir + "/out.csv"); });
    EXPECT_EQ(GetSaveFileNameA(&ofn), TRUE);
}

TEST_F(FileDialogTest, CancelLeavesTheBufferAsItWas) {
    saveAs("CSV Files (*.csv)\0*.csv\0", "csv");
    std::strcpy(buffer, "keep.csv");
    ofn.nFileOffset = 77;
    td::expectModal([](td::Modal& m) { m.cancel(); });
    EXPECT_EQ(GetSaveFileNameA(&ofn), FALSE);
    EXPECT_STREQ(buffer, "keep.csv");
    EXPECT_EQ(ofn.nFileOffset, 77);
}

TEST_F(FileDialogTest, CancelAfterARefusalStillReturnsFalse) {
    open();
    td::expectModal([&](td::Modal& m) {
        m.choose(dir + "/missing.csv");
        m.cancel();
    });
    td::expectMessage("Open", dir + "/missing.csv\nFile not found.\nCheck the file name and try again.");
    EXPECT_EQ(GetOpenFileNameA(&ofn), FALSE);
    EXPECT_STREQ(buffer, "");
}

TEST_F(FileDialogTest, OpenDialogRefusesAMissingFileAndTakesAnExistingOne) {
    open();
    std::string existing = touch("points.csv");
    td::expectModal([&](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::OpenFile);
        EXPECT_EQ(m.caption(), "Open");
        EXPECT_EQ(m.filter(), "Point Files (*.csv)|*.csv");
        EXPECT_EQ(m.flags(), static_cast<DWORD>(0x81004));
        m.choose(dir + "/nothere.csv");
        m.choose(existing);
    });
    td::expectModal([&](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::MessageBox);
        EXPECT_EQ(m.caption(), "Open");
        EXPECT_EQ(m.text(), dir + "/nothere.csv\nFile not found.\nCheck the file name and try again.");
        EXPECT_EQ(m.style(), static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        m.answer(IDOK);
    });
    ASSERT_EQ(GetOpenFileNameA(&ofn), TRUE);
    EXPECT_EQ(std::string(buffer), existing);
    EXPECT_EQ(std::string(buffer + ofn.nFileOffset), "points.csv");
}

TEST_F(FileDialogTest, OpenFindsATypedNameWithTheDefaultExtension) {
    open();
    std::string existing = touch("points.csv");
    td::expectModal([&](td::Modal& m) { m.choose(dir + "/points"); });
    ASSERT_EQ(GetOpenFileNameA(&ofn), TRUE);
    EXPECT_EQ(std::string(buffer), existing);
}

TEST_F(FileDialogTest, MissingFolderIsRefusedWithItsOwnMessage) {
    saveAs("CSV Files (*.csv)\0*.csv\0", "csv");
    ofn.lpstrTitle = "Write Points";
    std::string typed = dir + "/nofolder/out.csv";
    td::expectModal([&](td::Modal& m) {
        EXPECT_EQ(m.caption(), "Write Points");
        m.choose(typed);
        m.cancel();
    });
    td::expectMessage("Write Points", typed + "\nPath does not exist.\nCheck the path and try again.");
    EXPECT_EQ(GetSaveFileNameA(&ofn), FALSE);
}

TEST_F(FileDialogTest, RelativeNamesFollowTheCurrentFolderAndFoldersAreEntered) {
    saveAs("CSV Files (*.csv)\0*.csv\0", "csv");
    fs::create_directories(dir + "/sub");
    std::string before = fs::current_path().string();
    ASSERT_EQ(chdir(dir.c_str()), 0);
    td::expectModal([](td::Modal& m) {
        m.choose("sub");  // a folder: the dialog goes into it and stays open
        m.choose("inside");
    });
    BOOL chosen = GetSaveFileNameA(&ofn);
    ASSERT_EQ(chdir(before.c_str()), 0);
    ASSERT_EQ(chosen, TRUE);
    EXPECT_EQ(std::string(buffer), dir + "/sub/inside.csv");
}

TEST_F(FileDialogTest, PathLongerThanTheBufferIsRefusedWhileTheDialogStaysOpen) {
    saveAs("CSV Files (*.csv)\0*.csv\0", "csv");
    std::strcpy(buffer, "old");
    std::string name = dir + "/out.csv";
    ofn.nMaxFile = static_cast<DWORD>(name.size());  // one short of the terminator
    bool stillOpen = false;
    td::expectModal([&](td::Modal& m) {
        m.choose(dir + "/out");  // too long only once the default extension is added
        stillOpen = true;
        m.choose(dir + "/o.csv");
    });
    td::expectMessage("Save As", dir + "/out\nThe path is too long.\nChoose a shorter path and try again.");
    ASSERT_EQ(GetSaveFileNameA(&ofn), TRUE);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(std::string(buffer), dir + "/o.csv");

    ofn.nMaxFile = static_cast<DWORD>(name.size() + 1);  // exactly enough
    td::expectModal([&](td::Modal& m) { m.choose(name); });
    EXPECT_EQ(GetSaveFileNameA(&ofn), TRUE);
    EXPECT_EQ(std::string(buffer), name);
}

TEST_F(FileDialogTest, OpenDialogRefusesAnExistingFileItsBufferCannotHold) {
    open();
    std::string existing = touch("points.csv");
    ofn.nMaxFile = static_cast<DWORD>(existing.size());
    td::expectModal([&](td::Modal& m) {
        m.choose(existing);
        m.cancel();
    });
    td::expectMessage("Open", existing + "\nThe path is too long.\nChoose a shorter path and try again.");
    EXPECT_EQ(GetOpenFileNameA(&ofn), FALSE);
    EXPECT_STREQ(buffer, "");
}

TEST_F(FileDialogTest, FilterListsEveryPairAndFileTitleIsFilled) {
    saveAs("CSV Files (*.csv)\0*.csv\0All Files\0*.*\0", "csv");
    char title[6];
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
    td::expectModal([&](td::Modal& m) {
        EXPECT_EQ(m.filter(), "CSV Files (*.csv)|*.csv|All Files|*.*");
        m.choose(dir + "/abcdefgh");
    });
    ASSERT_EQ(GetSaveFileNameA(&ofn), TRUE);
    EXPECT_STREQ(title, "abcde");
}

TEST_F(FileDialogTest, WrongStructureSizeAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    open();
    ofn.lStructSize = 88;
    EXPECT_DEATH(GetOpenFileNameA(&ofn), "structure size of 88 is not implemented");
}

}  // namespace
