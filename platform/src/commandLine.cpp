// Windows' command-line quoting, for lpCmdLine.
#include "commandLine.h"

namespace layer {

std::string quoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    for (size_t i = 0;; ++i) {
        size_t backslashes = 0;
        while (i < argument.size() && argument[i] == '\\') {
            ++backslashes;
            ++i;
        }
        if (i == argument.size()) {
            // Before the closing quote each backslash is written twice, so that it stays one.
            quoted.append(2 * backslashes, '\\');
            break;
        }
        if (argument[i] == '"') {
            // Backslashes before a quote are doubled and the quote escaped by one more.
            quoted.append(2 * backslashes + 1, '\\');
        } else {
            // Elsewhere backslashes stand for themselves.
            quoted.append(backslashes, '\\');
        }
        quoted += argument[i];
    }
    quoted += '"';
    return quoted;
}

std::string commandLineOf(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += quoteArgument(argv[i] ? argv[i] : "");
    }
    return line;
}

}  // namespace layer
