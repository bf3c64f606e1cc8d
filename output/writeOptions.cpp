// The write options the dialogs leave, and the choices a write is made with.
#include "output/writeOptions.h"

FileType g_fileType = FileType::Comma;
short g_tabCount = 0;

WriteChoices writeChoices() {
    return WriteChoices{g_conversion, g_elevationsOnly == 1, g_factor, g_fileType, g_tabCount, g_minX, g_minY};
}
