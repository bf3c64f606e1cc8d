// A file manager's part in a drag, for the end-to-end scenario: a small window titled
// "Drag source" at (1100, 100) that, when the left button goes down on it, drags the files named on its
// command line as a file manager does (their file: URLs, offered to copy or move). It
// stays until it is ended, so that the window the files were dropped on can fetch them.
// Usage: skerrow-drag-source <file>...
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <utility>

namespace {

// Right of the program's 960-pixel window on the scenario's 1280 x 1024 screen.
constexpr int kSourceX = 1100, kSourceY = 100;

class DragSource : public QWidget {
public:
    explicit DragSource(QList<QUrl> urls) : urls_(std::move(urls)) {
        setWindowTitle(QStringLiteral("Drag source"));
        setFixedSize(kSize, kSize);
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, Qt::darkGreen);  // where to press, on the screenshots
        setPalette(colours);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(urls_);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
        // The target asks for the files only once they are dropped: the source stays to
        // give them, as a file manager does, until the scenario ends it.
    }

private:
    static constexpr int kSize = 120;
    QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QList<QUrl> urls;
    for (const QString& path : QApplication::arguments().mid(1)) urls << QUrl::fromLocalFile(path);
    if (urls.isEmpty()) return 2;
    DragSource source(urls);
    source.move(kSourceX, kSourceY);
    source.show();
    return QApplication::exec();
}
