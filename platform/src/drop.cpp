// Drag and drop of files (shell32): DragAcceptFiles, the HDROP of WM_DROPFILES and its
// queries, DragFinish.
#include "drop.h"

#include <shellapi.h>

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "layer.h"
#include "topLevel.h"

// What an HDROP points at, from WM_DROPFILES until DragFinish.
struct HDROP__ {
    std::vector<std::string> paths;  // file-system bytes, as CreateFileA takes them
    POINT point;
    bool inClientArea;
};

namespace {

constexpr UINT kCountQuery = 0xFFFFFFFF;  // DragQueryFileA's file index asking for the count

std::unordered_set<HDROP> s_drops;

HDROP live(HDROP drop) { return s_drops.count(drop) ? drop : nullptr; }

}  // namespace

namespace layer {

bool isFileDrop(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().isEmpty()) return false;
    const QList<QUrl> urls = data->urls();
    return std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

void postDrop(HWND hwnd, const QMimeData* data, QPoint clientPoint, bool inClientArea) {
    if (!isFileDrop(data) || !isWindow(hwnd)) return;
    auto* drop = new HDROP__;
    for (const QUrl& url : data->urls()) {
        // A folder comes as "/path/" from some file managers; Windows names it without the
        // separator at the end.
        QByteArray bytes = QFile::encodeName(QDir::cleanPath(url.toLocalFile()));
        drop->paths.emplace_back(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    drop->point = POINT{clientPoint.x(), clientPoint.y()};
    drop->inClientArea = inClientArea;
    s_drops.insert(drop);
    PostMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

}  // namespace layer

void DragAcceptFiles(HWND hwnd, BOOL accept) {
    if (!layer::isWindow(hwnd)) return;
    layer::TopLevel* window = layer::topLevel(hwnd);
    if (!window) layer::unsupported("DragAcceptFiles: a dialog or control");
    window->frame->setAcceptDrops(accept != FALSE);
}

UINT DragQueryFileA(HDROP drop, UINT file, LPSTR fileName, UINT size) {
    if (!live(drop)) return 0;
    if (file == kCountQuery) return static_cast<UINT>(drop->paths.size());
    if (file >= drop->paths.size()) return 0;
    const std::string& path = drop->paths[file];
    if (!fileName) return static_cast<UINT>(path.size());  // the buffer size needed, less one
    if (size == 0) return 0;
    // Cut to the buffer, always terminated; the answer is the characters copied.
    size_t count = std::min(path.size(), static_cast<size_t>(size - 1));
    std::memcpy(fileName, path.data(), count);
    fileName[count] = '\0';
    return static_cast<UINT>(count);
}

BOOL DragQueryPoint(HDROP drop, LPPOINT point) {
    if (!live(drop) || !point) return FALSE;
    *point = drop->point;
    return drop->inClientArea ? TRUE : FALSE;
}

void DragFinish(HDROP drop) {
    if (!live(drop)) return;
    s_drops.erase(drop);
    delete drop;
}
