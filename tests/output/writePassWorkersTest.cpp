// The writer's pass on one worker and on several, over files that changed since they were
// opened (the only way a blank line before more lines, or a line it cannot read, reaches
// the writer): the same bytes written, the same count and the same ending, wherever the
// borders between the workers' tasks fall.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "output/writeOptions.h"
#include "output/writePass.h"
#include "points/appState.h"
#include "points/selectionArea.h"
#include "support/borderSweep.h"
#include "support/scratchFolder.h"

namespace {

struct Written {
    PassResult result;
    long long count;
    std::string bytes;
    bool operator==(const Written& o) const { return result == o.result && count == o.count && bytes == o.bytes; }
};

std::ostream& operator<<(std::ostream& out, const Written& w) {
    return out << "{result " << static_cast<int>(w.result) << ", " << w.count << " lines, " << w.bytes.size()
               << " bytes}";
}

class WritePassWorkers : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeScratchFolder("skerrow-pass-");
        g_fieldCount = 3;
        g_swapXY = 0;
        g_skipHeader = 0;
        g_selectAll = 1;
        g_fileType = FileType::Comma;
        g_conversion = Conversion::None;
    }
    void TearDown() override {
        unsetenv("SKERROW_THREADS");
        std::filesystem::remove_all(dir);
    }

    // The pass over content on the workers given, as a write of all points stamped with
    // the file as it now is.
    Written write(const std::string& content, int workers) {
        const std::string input = (dir / "points.csv").string();
        std::ofstream(input, std::ios::binary) << content;
        std::strcpy(g_inputPath, input.c_str());
        g_inputStamp = stampOf(g_inputPath);
        setenv("SKERROW_THREADS", std::to_string(workers).c_str(), 1);
        const std::string outputPath = (dir / "out.csv").string();
        Written written;
        {
            HANDLE output =
                CreateFileA(outputPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            EXPECT_NE(output, INVALID_HANDLE_VALUE);
            const PassOutcome pass =
                writeChosenPoints(output, openedFile(), selectedArea(g_selectAll), writeChoices(), nullptr);
            CloseHandle(output);
            written.result = pass.result;
            written.count = pass.count;
        }
        std::ifstream in(outputPath, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        written.bytes = bytes.str();
        return written;
    }

    std::filesystem::path dir;
};

std::string lines(int first, int count) {
    std::string text;
    for (int i = first; i < first + count; ++i)
        text += std::to_string(633000 + i * 7 % 1000) + "." + std::to_string(10 + i % 90) + "," +
                std::to_string(5288000 + i * 13 % 1000) + ".5," + std::to_string(200 + i % 50) + ".25\n";
    return text;
}

TEST_F(WritePassWorkers, StopsWhereOneWorkerStops) {
    const std::string features[] = {"\n \n\n", "633111.5\n",
                                    std::string("63\0"
                                                "3,1,1\n",
                                                9),
                                    "\n\n\t\n"};
    for (size_t f = 0; f < sizeof features / sizeof features[0]; ++f) {
        const bool last = f == 3;  // blank lines that end the file are no stop
        for (int pad = 0; pad < 80; pad += kSweepStep) {
            std::string content;
            for (int i = 0; i < 3; ++i) {
                std::string line = lines(i, 1);
                line.insert(line.find('.') + 1,
                            std::string(static_cast<size_t>(std::min(30, std::max(0, pad - 30 * i))), '3'));
                content += line;
            }
            content += lines(3, 5) + features[f] + (last ? "" : lines(8, 10));
            const Written one = write(content, 1);
            EXPECT_EQ(one.result, last ? PassResult::Done : PassResult::ReadFailed);
            for (int workers : {2, 3, 7})
                ASSERT_EQ(write(content, workers), one) << workers << " workers, padding " << pad;
        }
    }
}

}  // namespace
