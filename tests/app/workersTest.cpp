// The passes on one worker and on several, through the real commands: the Open (its one
// pass and whatever it reads again), the drawing and the writer must give the same
// messages, counts, ranges, pixels and output bytes whatever the number of workers. Each
// file is tried with its first line padded a character at a time, so that the borders
// between the workers' parts sweep over the line that matters: a carriage return and its
// line feed, a line with the wrong field count, a last line without a line break, blank
// lines at the end, and points on both sides of a border that fall on one pixel.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "points/appState.h"
#include "resource.h"
#include "support/appFixture.h"
#include "support/borderSweep.h"

namespace {

// Pixels that are neither the black of the plot nor the red of its frame nor the white of
// the panel's texts.
int countPointPixels(const std::vector<COLORREF>& pixels) {
    int count = 0;
    for (COLORREF c : pixels) count += c != RGB(0, 0, 0) && c != RGB(255, 0, 0) && c != RGB(255, 255, 255);
    return count;
}

// Survey lines from first on, each with its own line break.
std::string surveyLines(int first, int count, const char* lineBreak) {
    std::string text;
    for (int i = first; i < first + count; ++i)
        text += std::to_string(633000 + i * 7 % 1000) + "." + std::to_string(10 + i % 90) + "," +
                std::to_string(5288000 + i * 13 % 1000) + ".5," + std::to_string(200 + i % 50) + ".25" + lineBreak;
    return text;
}

// What the commands made of a file.
struct Outcome {
    std::vector<std::string> messages;
    ViewState viewState = ViewState::Empty;
    int lineCount = 0, pointCount = 0, minX = 0, maxX = 0, minY = 0, maxY = 0;
    float minZ = 0, maxZ = 0;
    std::vector<COLORREF> drawn, redrawn;
    std::string copied, converted;

    bool operator==(const Outcome& o) const {
        return messages == o.messages && viewState == o.viewState && lineCount == o.lineCount &&
               pointCount == o.pointCount && minX == o.minX && maxX == o.maxX && minY == o.minY && maxY == o.maxY &&
               minZ == o.minZ && maxZ == o.maxZ && drawn == o.drawn && redrawn == o.redrawn && copied == o.copied &&
               converted == o.converted;
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    out << "{view " << static_cast<int>(o.viewState) << ", lines " << o.lineCount << ", points " << o.pointCount
        << ", x " << o.minX << ".." << o.maxX << ", y " << o.minY << ".." << o.maxY << ", z " << o.minZ << ".."
        << o.maxZ << ", " << o.copied.size() << " and " << o.converted.size() << " bytes written, messages:";
    for (const std::string& message : o.messages) out << " [" << message << "]";
    return out << "}";
}

// How "Swap Fields" is answered.
struct Choice {
    bool swap = false;
    bool skipHeader = false;
};

class WorkersTest : public AppTest {
protected:
    void TearDown() override {
        td::answerEveryModal(td::Handler());
        unsetenv("SKERROW_THREADS");
        AppTest::TearDown();
    }

    // Opens content with the workers given, answering every modal window as a user who
    // takes the choice, writes all points as copies and then in feet.
    Outcome run(const std::string& content, int workers, Choice choice, bool writes = true) {
        setenv("SKERROW_THREADS", std::to_string(workers).c_str(), 1);
        // Every run counts lines as after an Open that made the same choice: the count
        // follows the previous Open's header choice, not the workers.
        g_skipHeader = choice.skipHeader ? 1 : 0;
        const std::string input = file("points.csv", content);
        const std::string output = path("out.csv");
        bool convert = false;
        td::answerEveryModal([&](td::Modal& m) {
            switch (m.kind()) {
            case td::ModalKind::OpenFile: m.choose(input); break;
            case td::ModalKind::SaveFile: m.choose(output); break;
            case td::ModalKind::MessageBox: m.answer(m.caption() == "Confirm Save As" ? IDYES : IDOK); break;
            case td::ModalKind::Dialog:
                if (m.templateId() == IDD_SWAPFIELDS) {
                    if (choice.swap) m.click(IDC_SWAP_YES);
                    if (choice.skipHeader) m.click(IDC_SKIPHEADER);
                }
                if (m.templateId() == IDD_WRITEFILEAS && convert) m.click(IDC_MODIFYVALUES);
                if (m.templateId() == IDD_CONVERSION) m.click(IDC_CONV_M2FT);
                m.click(IDOK);
                break;
            }
        });
        Outcome o;
        const size_t logged = td::modalLog().size();
        td::command(window, IDM_OPEN);
        for (size_t i = logged; i < td::modalLog().size(); ++i)
            if (td::modalLog()[i].rfind("Note:", 0) != 0) o.messages.push_back(td::modalLog()[i]);
        o.viewState = g_viewState;
        if (g_viewState != ViewState::Drawn) return o;
        o.lineCount = g_lineCount;
        o.pointCount = g_pointCount;
        o.minX = g_minX;
        o.maxX = g_maxX;
        o.minY = g_minY;
        o.maxY = g_maxY;
        o.minZ = g_minZ;
        o.maxZ = g_maxZ;
        o.drawn = td::snapshot(window);
        if (!writes) return o;
        td::command(window, IDM_SELECTALL);
        o.copied = read(output);
        td::command(window, IDM_REDRAW);
        o.redrawn = td::snapshot(window);
        convert = true;
        td::command(window, IDM_SELECTALL);
        o.converted = read(output);
        td::command(window, IDM_REDRAW);
        for (size_t i = logged; i < td::modalLog().size(); ++i)
            if (td::modalLog()[i].rfind("File Saved", 0) == 0 || td::modalLog()[i].rfind("Error", 0) == 0)
                o.messages.push_back(td::modalLog()[i]);
        return o;
    }

    // Runs the file made by content(pad) on 1 and 2 workers, and now and then on 3 and 5,
    // for every padding from 0 to pads - 1: the same outcome as on one worker.
    template <class Content>
    void expectSameOnEveryWorkerCount(int pads, Content content, Choice choice, bool opens) {
        // Two more characters move a border of two parts by one over what follows them.
        for (int pad = 0; pad < pads; pad += kSweepStep) {
            const std::string text = content(pad);
            const Outcome one = run(text, 1, choice);
            ASSERT_EQ(one.viewState == ViewState::Drawn, opens) << "padding " << pad << ": " << one;
            ASSERT_EQ(run(text, 2, choice), one) << "2 workers, padding " << pad;
            if (pad % (8 * kSweepStep) != 0) continue;
            for (int workers : {3, 5})
                ASSERT_EQ(run(text, workers, choice), one) << workers << " workers, padding " << pad;
        }
    }

    // The line that matters, feature, amid survey lines with the given line break. The
    // third line is padded a character at a time, which moves the border between two
    // workers' parts over the feature and the bytes around it: the Open's border (it
    // splits what follows line 2) and the drawing's and writer's (they split the file from
    // its start) alike. A feature that ends the file comes last; every other one stands
    // where the parts' midpoints sweep over it.
    void expectSameAroundFeature(const std::string& feature, const char* lineBreak, bool opens,
                                 bool featureLast = false, Choice choice = Choice(),
                                 const std::string& firstLines = "") {
        const std::string first = firstLines.empty()
                                      ? std::string("633000,5288000,200") + lineBreak + "634000,5289000,240" + lineBreak
                                      : firstLines;
        const std::string third = std::string("633500.5") + ",5288500.5,210" + lineBreak;
        const std::string before = surveyLines(0, 6, lineBreak);
        // The midpoint of what follows line 2 stands |feature| + 4 + |first| / 2 bytes
        // past the feature's start with no padding, and 4 before it at the last padding.
        const int sweep = 2 * static_cast<int>(feature.size()) + 16 + static_cast<int>(first.size());
        long long afterBytes = static_cast<long long>(third.size() + before.size()) + feature.size() + 8 + first.size();
        const std::string after = featureLast ? "" : filler(afterBytes, lineBreak);
        expectSameOnEveryWorkerCount(
            featureLast ? 48 : sweep,
            [&](int pad) {
                // Lines stay within 79 characters: each takes at most 40 more decimals.
                std::string padded;
                const std::string lines = third + before;
                for (size_t start = 0; start < lines.size();) {
                    const size_t end = lines.find('\n', start) + 1;
                    std::string line = lines.substr(start, end - start);
                    const int more = pad > 40 ? 40 : pad;
                    line.insert(line.find('.') + 1, std::string(static_cast<size_t>(more), '3'));
                    pad -= more;
                    padded += line;
                    start = end;
                }
                return first + padded + feature + after;
            },
            choice, opens);
    }

    // Survey lines of exactly bytes bytes, the last one padded with decimals.
    static std::string filler(long long bytes, const char* lineBreak) {
        std::string text;
        for (int i = 100; static_cast<long long>(text.size()) + 60 < bytes; ++i) text += surveyLines(i, 1, lineBreak);
        std::string last = surveyLines(99, 1, lineBreak);
        if (bytes - static_cast<long long>(text.size()) > static_cast<long long>(last.size()))
            last.insert(last.find('.') + 1, std::string(static_cast<size_t>(bytes - text.size() - last.size()), '7'));
        return text + last;
    }
};

TEST_F(WorkersTest, ACarriageReturnAndItsLineFeedAtABorder) {
    expectSameAroundFeature("633111.5,5288111.5,211\r\n", "\r\n", true);
}

TEST_F(WorkersTest, ALineWithTheWrongFieldCountAtABorder) {
    expectSameAroundFeature("633111.5,5288111.5\n", "\n", false);
    expectSameAroundFeature("633111.5,5288111.5,211,9\n", "\n", false);
}

TEST_F(WorkersTest, ALastLineWithoutALineBreakAtABorder) {
    expectSameAroundFeature("633111.5,5288111.5,211", "\n", true, true);
}

TEST_F(WorkersTest, BlankLinesAtTheEnd) { expectSameAroundFeature("\n  \n\t\r\n\n", "\n", true, true); }

TEST_F(WorkersTest, BlankLinesBeforeMoreLinesAtABorder) { expectSameAroundFeature("\n \n\n", "\n", false); }

// Points on both sides of the border fall on the pixel of one point, each with another
// height: the one drawn last in the file must show, whichever worker read it.
TEST_F(WorkersTest, OnePixelDrawnFromBothSidesOfABorder) {
    std::string samePixel;
    for (int i = 0; i < 3; ++i) samePixel += "633500.5,5288500.5," + std::to_string(201 + 5 * i) + "\n";
    expectSameAroundFeature(samePixel, "\n", true);
}

// A header read as data under one choice and skipped under the other, with the swap: the
// one pass gathers for every choice.
TEST_F(WorkersTest, HeaderAndSwapChoices) {
    const std::string firstLines = "Easting,Northing,Height\n633000.5,5288000.5,200\n";
    expectSameAroundFeature("633111.5,5288111.5,211\n", "\n", true, false, Choice{true, true}, firstLines);
    expectSameAroundFeature("633111.5,5288111.5,211\n", "\n", false, true, Choice{false, false}, firstLines);
}

// The drawing of a file changed since it was opened: it reads whatever the file now holds,
// stopping where the line-by-line reading stops, at a blank line before more lines or at
// a line it cannot read, wherever the border between the parts falls.
TEST_F(WorkersTest, RedrawOfAChangedFileStopsWhereOneWorkerStops) {
    const std::string opened = surveyLines(0, 40, "\n");
    for (const std::string& feature : {std::string("\n \n\n"), std::string("633111.5\n"),
                                       std::string("63\0"
                                                   "3,1,1\n",
                                                   9)}) {
        for (int pad = 36; pad < 76; pad += kSweepStep) {
            // Three lines padded with up to 30 decimals each.
            std::string changed;
            for (int i = 0; i < 3; ++i) {
                std::string line = surveyLines(i, 1, "\n");
                line.insert(line.find('.') + 1,
                            std::string(static_cast<size_t>(std::min(30, std::max(0, pad - 30 * i))), '3'));
                changed += line;
            }
            changed += surveyLines(3, 5, "\n") + feature + surveyLines(8, 10, "\n");
            std::vector<COLORREF> one;
            for (int workers : {1, 2, 3}) {
                ASSERT_EQ(run(opened, workers, Choice(), false).viewState, ViewState::Drawn);
                std::ofstream(path("points.csv"), std::ios::binary) << changed;
                td::command(window, IDM_REDRAW);
                if (workers == 1) {
                    one = td::snapshot(window);
                    // Some points of the changed file are drawn: the first lines are good ones.
                    ASSERT_GT(countPointPixels(one), 0) << "padding " << pad;
                } else {
                    ASSERT_TRUE(td::snapshot(window) == one) << workers << " workers, padding " << pad;
                }
            }
        }
    }
}

// A file long enough to be thinned: the parts the workers draw start their thinning where
// the Open counted their lines.
TEST_F(WorkersTest, ThinnedDrawingOfALongFile) {
    std::string content;
    content.reserve(9000000);
    for (int i = 0; i < 500000; ++i)
        content += std::to_string(100000 + i * 37 % 90000) + "," + std::to_string(200000 + i * 53 % 70000) + "," +
                   std::to_string(i % 997) + "\n";
    const Outcome one = run(content, 1, Choice());
    ASSERT_EQ(one.viewState, ViewState::Drawn);
    for (int workers : {2, 3}) EXPECT_EQ(run(content, workers, Choice()), one) << workers << " workers";
}

}  // namespace
