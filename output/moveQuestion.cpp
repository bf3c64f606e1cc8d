#include "output/moveQuestion.h"

bool askMoveQuestion(HWND window) {
    static const char text[] =
        "This option will move all points to make       \n"
        "X - Y minimum values equal to 1.xx and \n"
        "remove un-needed decimal places. This\n"
        "is just a way to  reduce your file size if\n"
        "you don't care about losing all of the\n"
        "        original coordinates.\n"
        "\n"
        "      DO YOU WANT TO CONTINUE?";
    return MessageBoxA(window, text, "Notice", MB_YESNO) != IDNO;
}
