// Files dropped on a top-level window: what the window accepts and the WM_DROPFILES it
// posts. Shared by the window and the test driver.
#ifndef SKERROW_PLATFORM_DROP_H
#define SKERROW_PLATFORM_DROP_H

#include <windows.h>

#include <QPoint>

class QMimeData;

namespace layer {

// Local files and folders only, as the shell drops them; anything else is refused.
bool isFileDrop(const QMimeData* data);
// Posts WM_DROPFILES to the window with a new HDROP: the paths in the order dragged, the
// point in client coordinates, and whether it lies in the client area.
void postDrop(HWND hwnd, const QMimeData* data, QPoint clientPoint, bool inClientArea);

}  // namespace layer

#endif
