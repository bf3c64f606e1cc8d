// Point files from anywhere, through the real commands: every bad input meets either a
// message with its exact text or an exact result, and the point file is never touched.
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/mainWindow.h"
#include "points/appState.h"
#include "resource.h"
#include "support/appFixture.h"
#include "support/openFiles.h"
#include "support/surveyLines.h"

namespace {

namespace fs = std::filesystem;

const char kNotPointFile[] = "This is not a valid point file.\n    Check file and try again.";
const char kUneven[] = "This file has uneven fields.\n  Check file and try again.";
const char kFieldCount[] = "This only works on files with 2, 3 or 5 fields.\n        Check file and try again.";
const char kHeaderOrZero[] =
    "This file either has a header line or there       \n"
    "are X - Y fields equal to zero.  Erase any\n"
    "lines with zero XY values or check the\n"
    "\"Ignore 1st line\"  box when opening file.";
const char kInvalid[] = "Invalid or missing data in file.  ";
const char kExtent[] = "The X - Y extent of this file is too large.\n    Check file and try again.";
const char kRefused[] = "WARNING !: Can't SAVE AS input file name.\n      Select different file.";
const char kCarriageReturnsAlone[] =
    "The lines of this file end in a carriage return alone,\n"
    "as old Macintosh programs wrote them.  Convert its line\n"
    "ends to CR LF or LF and try again.";
const char kChanged[] = "Error: Point file changed since it was opened\n{in}\nOpen it again. Nothing was written.";
const char kChangedWhileRead[] =
    "Error: Point file changed while it was read\n{in}\n{out} is as it was: nothing was written.";

std::string lineMessage(long long line, const std::string& what) {
    return "Line " + std::to_string(line) + " of this file " + what + "\n    Check file and try again.";
}

const std::string kGood = "1000,2000,5\n1100,2100,6\n1200,2050,7\n";

const std::string kSurvey = surveyLines(0, 3000);
const std::string kGoodOut = "1000,2000,5\r\n1100,2100,6\r\n1200,2050,7\r\n";
const std::string kBom = "\xEF\xBB\xBF";

// The text as UTF-16, little- or big-endian, with its byte-order mark.
std::string utf16(const std::string& text, bool little) {
    std::string out = little ? std::string("\xFF\xFE", 2) : std::string("\xFE\xFF", 2);
    for (char c : text) out += little ? std::string{c, '\0'} : std::string{'\0', c};
    return out;
}

// What happens between the open and the next command.
// SameSizeTimesBack: the bytes changed in place, the file's size kept and its times set
// back to what they were, as a careless copy or a hostile one may leave it.
enum class Change { None, Remove, Replace, RenameOver, ToFolder, SameSizeTimesBack };
// The command after the open: nothing, a copy of all points, a Redraw, a copy of the
// points in a rectangle dragged over the middle of the plot, or Move All Pts.
enum class Then { Nothing, WriteAll, Redraw, WriteMiddle, MoveAll };
// Where the write goes.
// FullDisk: a small file system of its own, where the test may mount one; SizeLimit: the
// system's limit on a file's size, lowered for the write; Pipe: a named pipe. The point
// file's other names come last: the save dialog comes again after each.
enum class Target {
    NewFile,
    ReadOnlyFolder,
    FullDevice,
    FullDisk,
    SizeLimit,
    Pipe,
    InputRespelled,
    InputSymlink,
    InputHardLink
};

struct BadInput {
    const char* name = "";
    std::string content;
    std::string openError;  // the open's "Error" text; empty when the file opens
    bool skipHeader = false;
    Then then = Then::WriteAll;
    Change change = Change::None;
    std::string changedTo;  // the point file's new bytes for Change::Replace
    Target target = Target::NewFile;
    // WriteAll: the last message as "caption: text", {in} and {out} standing for the paths;
    // Redraw: the number of point pixels drawn, as text.
    std::string result;
    std::string output;     // WriteAll: the output's bytes; "-" when no output may exist
    std::string oldOutput;  // the chosen name's bytes before the write, which a failed one keeps
    int conversion = 0;     // " Conversion" answered with this radio button, and factor typed
    std::string factor;
    long long lineOrigin = 0;  // where the readers start their count of lines
};

void PrintTo(const BadInput& row, std::ostream* out) { *out << row.name; }

BadInput opens(const char* name, const std::string& content, const std::string& output, int points) {
    BadInput row;
    row.name = name;
    row.content = content;
    row.result = "File Saved: " + std::to_string(points) + " points written to {out}";
    row.output = output;
    return row;
}

BadInput rejected(const char* name, const std::string& content, const std::string& text, bool skipHeader = false) {
    BadInput row;
    row.name = name;
    row.content = content;
    row.openError = text;
    row.skipHeader = skipHeader;
    row.then = Then::Nothing;
    return row;
}

BadInput changed(const char* name, Change change, const std::string& to, Then then, const std::string& result,
                 const std::string& output = "-", const std::string& content = kGood) {
    BadInput row;
    row.name = name;
    row.content = content;
    row.change = change;
    row.changedTo = to;
    row.then = then;
    row.result = result;
    row.output = output;
    return row;
}

BadInput writtenTo(const char* name, Target target, const std::string& result) {
    BadInput row;
    row.name = name;
    row.content = kGood;
    row.target = target;
    row.result = result;
    row.output = "-";
    return row;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct PathStamp {
    bool exists = false;
    off_t size = 0;
    timespec modified{};
};

PathStamp stampOf(const std::string& path) {
    PathStamp stamp;
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.size = info.st_size;
    stamp.modified = info.st_mtim;
    return stamp;
}

bool operator==(const PathStamp& a, const PathStamp& b) {
    return a.exists == b.exists && a.size == b.size && a.modified.tv_sec == b.modified.tv_sec &&
           a.modified.tv_nsec == b.modified.tv_nsec;
}

}  // namespace

class BadInputTest : public AppTest, public ::testing::WithParamInterface<BadInput> {
protected:
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir / "locked", fs::perms::owner_all, ignored);
        if (mounted) umount((dir / "small").c_str());
        g_lineNumberOrigin = 0;
        AppTest::TearDown();
    }

    // A file system of kSmallDisk bytes in the test's folder; false where the test may not
    // mount one.
    bool mountSmallDisk() {
        fs::create_directory(dir / "small");
        mounted = mount("tmpfs", (dir / "small").c_str(), "tmpfs", 0, "size=32k") == 0;
        return mounted;
    }
    bool mounted = false;

    // A folder no file can be created in, for this user: a folder without write
    // permission, or, when that does not stop this user (root), one of the kernel's.
    std::string lockedFolder() {
        fs::path locked = dir / "locked";
        fs::create_directory(locked);
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
        if (access(locked.c_str(), W_OK) != 0) return locked.string();
        return "/proc/self";
    }

    std::string outputPath(Target target, const std::string& input) {
        switch (target) {
        case Target::NewFile: return path("out.csv");
        case Target::ReadOnlyFolder: return lockedFolder() + "/out.csv";
        case Target::FullDevice: fs::create_symlink("/dev/full", dir / "full.csv"); return path("full.csv");
        case Target::InputRespelled:
            fs::create_directory(dir / "sub");
            return (dir / "sub" / ".." / "." / "points.csv").string();
        case Target::InputSymlink: fs::create_symlink(input, dir / "link.csv"); return path("link.csv");
        case Target::InputHardLink: fs::create_hard_link(input, dir / "hard.csv"); return path("hard.csv");
        case Target::FullDisk: return (dir / "small" / "out.csv").string();
        case Target::SizeLimit: return path("out.csv");
        case Target::Pipe: mkfifo(path("pipe.csv").c_str(), 0600); return path("pipe.csv");
        }
        return std::string();
    }

    // The write sequence as row.then asks, as comma-separated copies; the save dialog is
    // cancelled when it comes back after a refusal.
    void writeAll(const std::string& out, const BadInput& row) {
        if (row.then == Then::MoveAll) {
            td::expectModal([](td::Modal& m) {
                EXPECT_EQ(m.caption(), "Notice");
                m.answer(IDYES);
            });
        } else {
            td::expectModal([&row](td::Modal& m) {
                ASSERT_EQ(m.templateId(), IDD_WRITEFILEAS);
                if (row.conversion) m.click(IDC_MODIFYVALUES);
                m.click(IDOK);
            });
            if (row.conversion)
                td::expectModal([&row](td::Modal& m) {
                    ASSERT_EQ(m.templateId(), IDD_CONVERSION);
                    m.click(row.conversion);
                    if (!row.factor.empty()) m.type(IDC_FACTOR, row.factor);
                    m.click(IDOK);
                });
        }
        const bool exists = fs::exists(fs::symlink_status(out));
        td::expectModal([out](td::Modal& m) {
            ASSERT_EQ(m.kind(), td::ModalKind::SaveFile);
            m.choose(out);
        });
        if (exists)
            td::expectModal([](td::Modal& confirm) {
                EXPECT_EQ(confirm.caption(), "Confirm Save As");
                confirm.answer(IDYES);
            });
        td::expectModal([](td::Modal& m) { m.answer(IDOK); });
        if (row.target >= Target::InputRespelled)
            td::expectModal([](td::Modal& m) {
                ASSERT_EQ(m.kind(), td::ModalKind::SaveFile);
                m.cancel();
            });
        // A file may grow no larger than this while it is written.
        const rlim_t kSizeLimit = 16384;
        rlimit unlimited{};
        if (row.target == Target::SizeLimit) {
            getrlimit(RLIMIT_FSIZE, &unlimited);
            rlimit limited = unlimited;
            limited.rlim_cur = kSizeLimit;
            setrlimit(RLIMIT_FSIZE, &limited);
        }
        if (row.then == Then::MoveAll) {
            td::command(window, IDM_MOVEALL);
        } else if (row.then == Then::WriteMiddle) {
            const POINT centre = {(g_plotLeft + g_plotRight) / 2, (g_plotTop + g_plotBottom) / 2};
            td::drag(window, {centre.x - 60, centre.y - 60}, {centre.x + 60, centre.y + 60});
        } else {
            td::command(window, IDM_SELECTALL);
        }
        if (row.target == Target::SizeLimit) setrlimit(RLIMIT_FSIZE, &unlimited);
    }

    // Point pixels inside the plot frame: neither the black fill nor the red frame.
    int pointPixels() {
        int count = 0;
        for (int y = g_plotTop - 1; y <= g_plotBottom; ++y)
            for (int x = g_plotLeft - 1; x <= g_plotRight; ++x) {
                COLORREF c = td::pixel(window, x, y);
                if (c != RGB(0, 0, 0) && c != RGB(255, 0, 0)) ++count;
            }
        return count;
    }
};

TEST_P(BadInputTest, MeetsItsOutcomeAndLeavesThePointFileAlone) {
    const BadInput& row = GetParam();
    if (row.target == Target::FullDisk && !mountSmallDisk()) GTEST_SKIP() << "no file system can be mounted here";
    g_lineNumberOrigin = row.lineOrigin;
    const std::string input = file("points.csv", row.content);
    PathStamp stamp = stampOf(input);
    std::string bytes = read(input);

    td::expectMessage("Note:",
                      "This program doesn't automatically repaint the screen.\n"
                      "Click Redraw on the menu if you lose any screen points.\n\n"
                      "Select AreaType and drag area around points to write.   ");
    td::expectModal([input](td::Modal& m) { m.choose(input); });
    // The counting pass rejects before Swap Fields; the rest after it.
    const bool countingRejects =
        row.openError == kNotPointFile || row.openError == kUneven || row.openError == kFieldCount ||
        row.openError == kCarriageReturnsAlone || row.openError.find("longer than") != std::string::npos ||
        row.openError.find("NUL") != std::string::npos || row.openError.find("is blank") != std::string::npos;
    if (!countingRejects)
        td::expectModal([&row](td::Modal& m) {
            ASSERT_EQ(m.templateId(), IDD_SWAPFIELDS);
            if (row.skipHeader) m.click(IDC_SKIPHEADER);
            m.click(IDOK);
        });
    if (!row.openError.empty()) td::expectMessage("Error", row.openError);
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_viewState, row.openError.empty() ? ViewState::Drawn : ViewState::Empty);
    EXPECT_FALSE(heldOpen(g_inputPath));
    EXPECT_TRUE(stampOf(input) == stamp) << "the open changed the point file";
    EXPECT_EQ(read(input), bytes);
    if (row.then == Then::Nothing || g_viewState != ViewState::Drawn) return;

    if (row.change == Change::Remove) fs::remove(input);
    if (row.change == Change::ToFolder) {
        fs::remove(input);
        fs::create_directory(input);
    }
    if (row.change == Change::Replace) std::ofstream(input, std::ios::binary | std::ios::trunc) << row.changedTo;
    if (row.change == Change::SameSizeTimesBack) {
        ASSERT_EQ(row.changedTo.size(), bytes.size());
        struct stat before;
        ASSERT_EQ(::stat(input.c_str(), &before), 0);
        std::fstream(input, std::ios::binary | std::ios::in | std::ios::out) << row.changedTo;
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(utimensat(AT_FDCWD, input.c_str(), times, 0), 0);
    }
    if (row.change == Change::RenameOver) {
        // As an editor saves: a new file put in the old one's place.
        std::ofstream(input + ".new", std::ios::binary) << row.changedTo;
        fs::rename(input + ".new", input);
    }
    stamp = stampOf(input);
    const bool replaced =
        row.change == Change::Replace || row.change == Change::RenameOver || row.change == Change::SameSizeTimesBack;
    bytes = replaced ? row.changedTo : row.change == Change::None ? bytes : "";

    if (row.then == Then::Redraw) {
        td::command(window, IDM_REDRAW);
        EXPECT_EQ(g_viewState, ViewState::Drawn);
        EXPECT_EQ(std::to_string(pointPixels()), row.result);
    } else {
        const std::string out = outputPath(row.target, input);
        if (!row.oldOutput.empty()) std::ofstream(out, std::ios::binary) << row.oldOutput;
        writeAll(out, row);
        td::checkDone();
        // The last message box: dialogs are logged with an empty text.
        std::string lastMessage;
        for (const std::string& entry : td::modalLog())
            if (entry.size() < 2 || entry.compare(entry.size() - 2, 2, ": ") != 0) lastMessage = entry;
        EXPECT_EQ(lastMessage, replaceAll(replaceAll(row.result, "{in}", input), "{out}", out));
        // The point file's other names are checked as the point file below.
        if (row.output != "-") {
            EXPECT_EQ(read(out), row.output);
        } else if (!row.oldOutput.empty()) {
            EXPECT_EQ(read(out), row.oldOutput) << "a failed write touched the file it was to replace";
        } else if (row.target == Target::NewFile || row.target == Target::ReadOnlyFolder) {
            EXPECT_FALSE(fs::exists(out)) << "an output was left behind";
        }
        // Nothing of a failed write is left beside the chosen name either.
        for (const fs::path& folder : {fs::path(out).parent_path(), dir})
            for (const fs::directory_entry& entry : fs::directory_iterator(folder))
                EXPECT_EQ(entry.path().string().find(".skerrow-"), std::string::npos) << entry.path();
        EXPECT_EQ(g_viewState, ViewState::Fitted);
    }
    EXPECT_FALSE(heldOpen(g_inputPath));
    EXPECT_TRUE(stampOf(input) == stamp) << "the point file was touched";
    if (row.change != Change::ToFolder) {
        EXPECT_EQ(read(input), bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadInputTest,
    ::testing::Values(
        rejected("EmptyFile", "", kNotPointFile),
        rejected("BinaryFile", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20), kNotPointFile),
        // A text file holds no NUL: one that does is damaged, wherever the NUL stands.
        rejected("NulInsideCoordinates", std::string("1000,2000,5\n1100\0,2100,6\n1200,2050,7\n", 35),
                 lineMessage(2, "holds a NUL character: the file is damaged.")),
        rejected("NulInsideDescription",
                 std::string("1,1000,2000,5,TREE\n2,1100,2100,6,RO\0CK\n3,1200,2050,7,POST\n", 58),
                 lineMessage(2, "holds a NUL character: the file is damaged.")),
        rejected("NulCuttingAnElevation",
                 std::string("100.5,200.5,10.1\r\n101.5,201.5,10\0"
                             "2\r\n102.5,202.5,10.3\r\n",
                             55),
                 lineMessage(2, "holds a NUL character: the file is damaged.")),
        rejected("NulAfterABlankLine", std::string("1000,2000,5\n1100,2100,6\n\n\0\n1200,2050,7\n", 40),
                 lineMessage(3, "is blank, and more lines follow it.")),
        opens("Utf8ByteOrderMark", kBom + kGood, kGoodOut, 3),
        [] {
            BadInput row = opens("Utf8ByteOrderMarkBeforeHeader", kBom + "X,Y,Z\n" + kGood, kGoodOut, 3);
            row.skipHeader = true;
            return row;
        }(),
        rejected("Utf8ByteOrderMarkOnly", kBom, kNotPointFile),
        rejected("Utf16LittleEndian", utf16("1000,2000,5\r\n1100,2100,6\r\n", true), kNotPointFile),
        rejected("Utf16BigEndian", utf16("1000,2000,5\r\n1100,2100,6\r\n", false), kNotPointFile),
        // A lone carriage return is part of the line: the whole file reads as one line, and
        // the user is told why.
        rejected("OldMacLineEnds", "1000,2000,5\r1100,2100,6\r1200,2050,7\r", kCarriageReturnsAlone),
        rejected(
            "OldMacLineEndsLongFile",
            [] {
                std::string text;
                for (int i = 0; i < 20; ++i) text += std::to_string(1000 + i) + ",2000," + std::to_string(i) + "\r";
                return text;
            }(),
            kCarriageReturnsAlone),
        rejected("OldMacLineEndsAfterAHeader", "X,Y,Z\r1000,2000,5\r1100,2100,6\r1200,2050,7\r", kCarriageReturnsAlone),
        opens("MixedLineEnds", "1000,2000,5\r\n1100,2100,6\n1200,2050,7\r\n", kGoodOut, 3),
        rejected("MegabyteFirstLine", std::string(1 << 20, '7') + "\n" + kGood,
                 lineMessage(1, "is longer than 127 characters.")),
        rejected("MegabyteLaterLine", kGood + "1300,2150," + std::string(1 << 20, '7') + "\n",
                 lineMessage(4, "is longer than 79 characters.")),
        rejected("HundredDigitX", std::string(100, '9') + ",2000,5\n" + kGood,
                 lineMessage(1, "has an X or Y value out of range.")),
        // An elevation must be a number a float holds; text after the number is let be.
        rejected("HundredDigitElevation", "1000,2000," + std::string(100, '9') + "\n1100,2100,6\n1200,2050,7\n",
                 lineMessage(1, "has an elevation out of range.")),
        rejected("FortyDigitElevation", "1000,2000,5\n1100,2100," + std::string(40, '4') + "\n1200,2050,7\n",
                 lineMessage(2, "has an elevation out of range.")),
        rejected("ElevationBeyondSinglePrecision", "1000,2000,5\n1100,2100,6\n1200,2050,1e39\n",
                 lineMessage(3, "has an elevation out of range.")),
        rejected("ElevationOfDoubleRange", "1000,2000,1e308\n1100,2100,6\n",
                 lineMessage(1, "has an elevation out of range.")),
        rejected("ElevationMinusInfinity", "1000,2000,5\n1200,2050,-inf\n",
                 lineMessage(2, "has an elevation out of range.")),
        rejected("ElevationNan", "1000,2000,5\n1100,2100,nan\n",
                 lineMessage(2, "has an elevation that is not a number.")),
        rejected("ElevationLetters",
                 "633067.18,5288423.72,215.28\r\n633100.25,5288100.75,abc\r\n633014.17,5288417.88,208.66\r\n",
                 lineMessage(2, "has an elevation that is not a number.")),
        rejected("ElevationEmpty", "1000,2000,5\n1100,2100,\n1200,2050,7\n",
                 lineMessage(2, "has an elevation that is not a number.")),
        rejected("ElevationOnlyASign", "1,1000,2000,5,A\n2,1100,2100, -,B\n",
                 lineMessage(2, "has an elevation that is not a number.")),
        opens("ElevationsWithTrailingText", "1000,2000,5m\n1100,2100,-0\n1200,2050, 7.5 ft\n",
              "1000,2000,5m\r\n1100,2100,-0\r\n1200,2050, 7.5 ft\r\n", 3),
        // A coordinate written with an exponent reads as the number it writes.
        rejected("ExponentAsX", "1e308,2000,5\n1100,2100,6\n", lineMessage(1, "has an X or Y value out of range.")),
        rejected("ExponentBeyond32Bits", "1000,2000,5\n1100,2.147483648e9,6\n",
                 lineMessage(2, "has an X or Y value out of range.")),
        rejected("NanAsX", "nan,2000,5\n1100,2100,6\n", lineMessage(1, "has an X or Y value that is not a number.")),
        rejected("InfAsY", "1000,inf,5\n1100,2100,6\n", lineMessage(1, "has an X or Y value out of range.")),
        rejected("InfinityAsY", "1000,2000,5\n1100, -Infinity ,6\n",
                 lineMessage(2, "has an X or Y value out of range.")),
        rejected("HeaderStartingLikeInf", "Info,Northing,Height\n1100,2100,6\n", kHeaderOrZero),
        [] {
            BadInput row = opens("ExponentMovedAsThePlainForm", "6.3310025e5,5288423.72,1\r\n633067.18,5288400.5,2\r\n",
                                 "34.25,24.72,1\r\n1.18,1.5,2\r\n", 2);
            row.then = Then::MoveAll;
            return row;
        }(),
        [] {
            BadInput row = opens("ExponentInsideARectangle",
                                 "100.5,100.5,1\r\n700000.5,100.5,2\r\n100.5,700000.5,3\r\n700000.5,700000.5,4\r\n"
                                 "3.5e5,3.5e5,5\r\n350000.5,350000.5,6\r\n",
                                 "3.5e5,3.5e5,5\r\n350000.5,350000.5,6\r\n", 2);
            row.then = Then::WriteMiddle;
            return row;
        }(),
        rejected("MinusZeroAsY", "1000,2000,5\n1100,-0,6\n", kHeaderOrZero),
        rejected("XBeyond32Bits", "5000000000,2000,5\n1100,2100,6\n",
                 lineMessage(1, "has an X or Y value out of range.")),
        rejected("YBeyond32Bits", "1000,2000,5\n1100,-3000000000,6\n",
                 lineMessage(2, "has an X or Y value out of range.")),
        rejected("ExtentBeyond32Bits", "-2000000000,2000,5\n2000000000,2100,6\n", kExtent),
        rejected("OnlyHeader", "X,Y,Z\n", kHeaderOrZero), rejected("OnlyHeaderSkipped", "X,Y,Z\n", kInvalid, true),
        rejected("OnePoint", "1000,2000,5\n", kInvalid),
        changed("RemovedBeforeWrite", Change::Remove, "", Then::WriteAll,
                "Error: Can't open point file\n{in}\nNothing was written."),
        changed("FolderBeforeWrite", Change::ToFolder, "", Then::WriteAll,
                "Error: Can't open point file\n{in}\nNothing was written."),
        // Changed after the Open: the points on screen are not the file's, and none is written.
        changed("GrownBeforeWrite", Change::Replace, kGood + "1300,2150,8\n", Then::WriteAll, kChanged),
        changed("ShrunkBeforeWrite", Change::Replace, "1000,2000,5\n", Then::WriteAll, kChanged),
        changed("TwoFieldsBeforeWrite", Change::Replace, "1000,2000\n1100,2100\n", Then::WriteAll, kChanged),
        changed("FiveFieldsBeforeWrite", Change::Replace, "1,1000,2000,5,A\n2,1100,2100,6,B\n", Then::WriteAll,
                kChanged),
        changed("EmptiedBeforeWrite", Change::Replace, "", Then::WriteAll, kChanged, "-", kSurvey),
        changed("ReplacedBeforeWrite", Change::RenameOver, kSurvey, Then::WriteAll, kChanged, "-", kSurvey),
        changed("CutAtALineEndBeforeWrite", Change::Replace, surveyLines(0, 2), Then::WriteAll, kChanged, "-", kSurvey),
        changed("AppendedBeforeWrite", Change::Replace, kSurvey + surveyLines(3000, 1000), Then::WriteAll, kChanged,
                "-", kSurvey),
        changed("AppendedBeforeMove", Change::Replace, kSurvey + surveyLines(3000, 1000), Then::MoveAll, kChanged, "-",
                kSurvey),
        changed("RemovedBeforeRedraw", Change::Remove, "", Then::Redraw, "0"),
        changed("FolderBeforeRedraw", Change::ToFolder, "", Then::Redraw, "0"),
        changed("GrownBeforeRedraw", Change::Replace, kGood + "1150,2025,6\n", Then::Redraw, "4"),
        changed("ShrunkBeforeRedraw", Change::Replace, "1000,2000,5\n", Then::Redraw, "1"),
        changed("TwoFieldsBeforeRedraw", Change::Replace, "1000,2000\n1100,2100\n", Then::Redraw, "0"),
        writtenTo("ReadOnlyFolder", Target::ReadOnlyFolder, "Error: Can't create file\n{out}\nNothing was written."),
        // A device is no file: refused before anything is opened.
        writtenTo("FullDevice", Target::FullDevice,
                  "Error: Can't save as\n{out}\nIt is a device, not a file. Nothing was written."),
        // Full or limited, the file the write would replace keeps its bytes.
        [] {
            BadInput row = writtenTo("FullDisk", Target::FullDisk,
                                     "Error: Can't write file\n{out}\nThe disk is full. Nothing was written.");
            row.content = kSurvey;
            row.oldOutput = "the points of an earlier write\r\n";
            return row;
        }(),
        [] {
            BadInput row =
                writtenTo("SizeLimit", Target::SizeLimit, "Error: Can't write file\n{out}\nNothing was written.");
            row.content = kSurvey;
            row.oldOutput = "the points of an earlier write\r\n";
            return row;
        }(),
        writtenTo("Pipe", Target::Pipe, "Error: Can't save as\n{out}\nIt is a pipe, not a file. Nothing was written."),
        // A converted elevation beyond single precision: no number a point file could hold.
        [] {
            BadInput row = writtenTo("ElevationTooLargeInFeet", Target::NewFile,
                                     "Error: Line 2 of this file converts to a value\ntoo large to write.\n{in}\n"
                                     "{out} is as it was: nothing was written.");
            row.content = "1000,2000,5\n1100,2100,1.1e38\n1200,2050,7\n";
            row.conversion = IDC_CONV_M2FT;
            return row;
        }(),
        [] {
            BadInput row = writtenTo("FactorTooLarge", Target::NewFile,
                                     "Error: Line 1 of this file converts to a value\ntoo large to write.\n{in}\n"
                                     "{out} is as it was: nothing was written.");
            row.conversion = IDC_CONV_FACTOR;
            row.factor = "1e38";
            row.oldOutput = "the points of an earlier write\r\n";
            return row;
        }(),
        // The bytes changed with the size and the times kept: the checksum tells, and the
        // status time that it came before the write.
        changed("SameSizeTimesBackBeforeWrite", Change::SameSizeTimesBack, replaceAll(kSurvey, "5288", "5289"),
                Then::WriteAll, kChanged, "-", kSurvey),
        // Lines counted past the 32-bit range: a blank line before more lines, and blank
        // lines at the end, which end the data.
        [] {
            BadInput row = rejected("BlankLineNumberedPast32Bits", "1000,2000,5\n1100,2100,6\n\n\n1200,2050,7\n",
                                    lineMessage(2147483648LL, "is blank, and more lines follow it."));
            row.lineOrigin = 2147483645LL;
            return row;
        }(),
        [] {
            BadInput row = opens("BlankLinesPast32BitsAtTheEnd", "1000,2000,5\n1100,2100,6\n\n\n\n\n",
                                 "1000,2000,5\r\n1100,2100,6\r\n", 2);
            row.lineOrigin = 2147483645LL;
            return row;
        }(),
        writtenTo("InputRespelled", Target::InputRespelled, kRefused),
        writtenTo("InputSymlink", Target::InputSymlink, kRefused),
        writtenTo("InputHardLink", Target::InputHardLink, kRefused)),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

// The file dialog goes into a folder chosen by name, even one named like a point file,
// and never hands it to the Open; cancelled there, the Open ends without a word.
TEST_F(BadInputTest, FolderChosenAsPointFileIsEnteredNotOpened) {
    fs::create_directory(dir / "folder.csv");
    const std::string folder = path("folder.csv");
    td::expectModal([](td::Modal& m) { m.answer(IDOK); });
    td::expectModal([folder](td::Modal& m) {
        m.choose(folder);
        m.cancel();
    });
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(td::modalLog().size(), 2u);
    EXPECT_EQ(g_viewState, ViewState::Empty);
    EXPECT_FALSE(heldOpen(g_inputPath));
    EXPECT_TRUE(fs::is_directory(folder));
}

// A pipe named like a point file: opening it for reading would wait for a writer that
// never comes. It is refused at once, as no point file.
TEST_F(BadInputTest, PipeChosenAsPointFileIsRefusedWithoutWaiting) {
    const std::string pipe = path("pipe.csv");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const PathStamp stamp = stampOf(pipe);
    td::expectModal([](td::Modal& m) { m.answer(IDOK); });
    td::expectModal([pipe](td::Modal& m) { m.choose(pipe); });
    td::expectMessage("Error", kNotPointFile);
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_viewState, ViewState::Empty);
    EXPECT_FALSE(heldOpen(g_inputPath));
    EXPECT_TRUE(stampOf(pipe) == stamp);
}

// The counting pass skips the first line by the previous Open's header choice; when this
// Open reads it as data, its fields must agree with the rest like every other line's, or
// the writer would take them from the wrong places.
TEST_F(BadInputTest, FirstLineUncountedByTheCountingPassIsCheckedForItsFields) {
    const std::string first = file("first.csv", "Easting,Northing,Height\n" + kGood);
    const std::string second = file("second.csv", "1000,20000,3276,32767\n1200,2050,7\n1300,2150,8\n");
    const PathStamp stamp = stampOf(second);
    td::expectModal([](td::Modal& m) { m.answer(IDOK); });
    td::expectModal([first](td::Modal& m) { m.choose(first); });
    td::expectModal([](td::Modal& m) {
        m.click(IDC_SKIPHEADER);
        m.click(IDOK);
    });
    td::command(window, IDM_OPEN);
    ASSERT_EQ(g_viewState, ViewState::Drawn);

    td::expectModal([second](td::Modal& m) { m.choose(second); });
    td::expectModal([](td::Modal& m) { m.click(IDOK); });  // the header box left clear
    td::expectMessage("Error", kUneven);
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_viewState, ViewState::Empty);
    EXPECT_TRUE(stampOf(second) == stamp);
}

// A point file that grows while the writer reads it: a watcher adds a line to it as soon as
// the writer makes its new file, so the change falls between the write's start and its
// end. The write must not report the output as saved, and the chosen name stays absent.
TEST_F(BadInputTest, InputChangedDuringTheWriteLeavesTheChosenNameAsItWas) {
    // Enough lines that the pass outlasts the watcher's wake-up many times over.
    std::string content;
    for (int block = 0; block < 100; ++block) content += surveyLines(block * 20000, 20000);
    const std::string input = file("points.csv", content);
    openFile(input);
    ASSERT_EQ(g_viewState, ViewState::Drawn);

    const std::string out = path("out.csv");
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, dir.c_str(), IN_CREATE), 0);
    std::thread watcher([&] {
        alignas(inotify_event) char events[4096];
        for (;;) {
            const ssize_t got = ::read(watch, events, sizeof events);
            if (got <= 0) return;
            for (ssize_t at = 0; at < got;) {
                const inotify_event* event = reinterpret_cast<const inotify_event*>(events + at);
                if (event->len && std::string(event->name).find(".skerrow-") != std::string::npos) {
                    std::ofstream(input, std::ios::binary | std::ios::app) << "633001.5,5288001.5,201.5\n";
                    return;
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    });

    td::expectModal([](td::Modal& m) { m.click(IDOK); });
    td::expectModal([out](td::Modal& m) { m.choose(out); });
    td::expectMessage("Error", replaceAll(replaceAll(kChangedWhileRead, "{in}", input), "{out}", out).substr(7));
    td::command(window, IDM_SELECTALL);
    watcher.join();
    close(watch);
    td::checkDone();
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "a new file was left";
    EXPECT_EQ(read(input), content + "633001.5,5288001.5,201.5\n");
}
