// The command line WinMain is given: the process's arguments after the program name, each
// quoted so that Windows' splitting of a command line gives it back unchanged.
#ifndef SKERROW_PLATFORM_COMMANDLINE_H
#define SKERROW_PLATFORM_COMMANDLINE_H

#include <string>

namespace layer {

// One argument as it is written on a command line: unchanged when it has no blank, tab,
// line break or double quote (and is not empty); otherwise in double quotes, with a quote
// inside and the backslashes right before a quote or the end escaped, so that the rules
// of CommandLineToArgvW read exactly the argument.
std::string quoteArgument(const std::string& argument);
// argv[1] .. argv[argc - 1] quoted and joined by single blanks; empty without arguments.
std::string commandLineOf(int argc, char** argv);

}  // namespace layer

#endif
