// The process entry on platforms without Windows: start Qt, then run the program's WinMain
// as Windows would call it.
#include <windows.h>

#include <string>
#include <vector>

#include "commandLine.h"
#include "layer.h"

int main(int argc, char** argv) {
    // Qt takes its own options (-platform, -style ...) out of argv; the rest is the
    // program's, given as Windows gives lpCmdLine: after the program name, quoted as needed.
    layer::start(argc, argv);
    std::string arguments = layer::commandLineOf(argc, argv);
    std::vector<char> commandLine(arguments.begin(), arguments.end());
    commandLine.push_back('\0');
    return WinMain(GetModuleHandleA(NULL), NULL, commandLine.data(), SW_SHOWNORMAL);
}
