// The command line WinMain gets: each argument quoted so that Windows' rules for splitting
// a command line (CommandLineToArgvW's) give back the very same arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/src/commandLine.h"

namespace {

// CommandLineToArgvW's reading of the arguments after the program name: blanks and tabs
// separate outside quotes; a quote opens or closes a quoted part; 2n backslashes before a
// quote are n backslashes and the quote counts, 2n+1 are n and a literal quote; other
// backslashes stand for themselves; "" inside quotes is a literal quote.
std::vector<std::string> splitAsWindows(const std::string& line) {
    std::vector<std::string> arguments;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i == line.size()) return arguments;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
            if (i < line.size() && line[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2) {
                    argument += '"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) argument += line[i++];
            }
        }
        arguments.push_back(argument);
    }
}

std::string commandLine(std::vector<std::string> arguments) {
    std::vector<char*> argv{const_cast<char*>("skerrow")};
    for (std::string& argument : arguments) argv.push_back(argument.data());
    return layer::commandLineOf(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(CommandLineTest, QuotesOnlyWhatNeedsIt) {
    struct Row {
        std::string argument, written;
    };
    for (const Row& row : {Row{"points.csv", "points.csv"},
                           Row{"/home/ann/Survey Data/site 4.csv", "\"/home/ann/Survey Data/site 4.csv\""},
                           Row{"tab\there", "\"tab\there\""}, Row{"", "\"\""}, Row{"say \"hi\"", "\"say \\\"hi\\\"\""},
                           Row{"C:\\dir\\", "C:\\dir\\"},  // backslashes alone need nothing
                           Row{"C:\\My Dir\\", "\"C:\\My Dir\\\\\""}, Row{"a\\\"b", "\"a\\\\\\\"b\""},
                           Row{"back\\\\slashes", "back\\\\slashes"}}) {
        EXPECT_EQ(layer::quoteArgument(row.argument), row.written) << row.argument;
    }
}

TEST(CommandLineTest, WindowsSplittingGivesTheSameArgumentsBack) {
    const std::vector<std::vector<std::string>> lists = {
        {"/home/ann/Survey Data/site 4.csv"},
        {"a", "", "b"},
        {""},
        {"\"", "\\", "\\\\", "\\\"", "x\\ y\\"},
        {"ends with a backslash\\", "quote\" in the middle", "  blanks  around  "},
        {"tab\tand\nline", "trailing\\\\\\", "\"\"\"", "\\\\server\\share\\f.csv"},
    };
    for (const std::vector<std::string>& arguments : lists) {
        std::string line = commandLine(arguments);
        EXPECT_EQ(splitAsWindows(line), arguments) << line;
    }
}

TEST(CommandLineTest, IsEmptyWithoutArgumentsAndSkipsTheProgramName) {
    EXPECT_EQ(commandLine({}), "");
    EXPECT_EQ(commandLine({"a.csv", "My Points.csv"}), "a.csv \"My Points.csv\"");
}

TEST(CommandLineTest, TheSplittingAboveReadsWindowsOwnExamples) {
    // The examples Windows documents for its command-line parsing, which the round trip
    // above relies on.
    using Args = std::vector<std::string>;
    EXPECT_EQ(splitAsWindows("\"abc\" d e"), (Args{"abc", "d", "e"}));
    EXPECT_EQ(splitAsWindows("a\\\\b d\"e f\"g h"), (Args{"a\\\\b", "de fg", "h"}));
    EXPECT_EQ(splitAsWindows("a\\\\\\\"b c d"), (Args{"a\\\"b", "c", "d"}));
    EXPECT_EQ(splitAsWindows("a\\\\\\\\\"b c\" d e"), (Args{"a\\\\b c", "d", "e"}));
    EXPECT_EQ(splitAsWindows("a\"b\"\" c d"), (Args{"ab\" c d"}));
}
