// The process entry on platforms without Windows: start Qt, then run the program's WinMain
// as Windows would call it.
#include <windows.h>

#include "layer.h"

int main(int argc, char** argv) {
    layer::start(argc, argv);
    static char commandLine[] = "";  // the program reads no command line
    return WinMain(GetModuleHandleA(NULL), NULL, commandLine, SW_SHOWNORMAL);
}
