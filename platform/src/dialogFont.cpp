// Dialog fonts and base units. Windows takes a dialog's base units from the font its
// template names: the average width of "A".."Z" and "a".."z", rounded, and the character
// height. The same is done here with the font that is actually drawn, so that a text laid
// out for the template's font still fits its control in whatever face is found.
#include "dialogFont.h"

#include <windows.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>
#include <QStringList>

namespace layer {
namespace {

const char kSansSerif[] = "MS Sans Serif";
// Wine's "MS Sans Serif" (package fonts-wine) has the bitmap face's strikes and widths.
const char kWineSansSerif[] = "/usr/share/wine/fonts/ms_sans_serif.ttf";
// Faces used when the template's face cannot be had: metric-compatible with Arial first.
const char* const kFallbackFaces[] = {"Liberation Sans", "DejaVu Sans"};
// 8-point MS Sans Serif at 96 dpi: an 11-pixel em in a 13-pixel cell.
const int kSansSerifEm = 11;
const int kSansSerifCell = 13;
// Without DS_SETFONT the controls use the system font, whose base units are 8 x 16.
const int kSystemFontPixels = 13;
const int kLargestPixelSize = 96;

struct Substitute {
    bool use = true;
    bool tried = false;
    int id = -1;  // the application font's id once loaded
};

Substitute& substitute() {
    static Substitute* state = new Substitute;
    return *state;
}

bool isSansSerif(const QString& face) { return face.compare(QLatin1String(kSansSerif), Qt::CaseInsensitive) == 0; }

// Is the face in the font database (loading the metric-compatible file for MS Sans Serif on
// first need), and can it be drawn at the screen's pixel density? A face of bitmap strikes
// only, such as MS Sans Serif, has none for a device pixel ratio above 1.
bool faceAvailable(const QString& face) {
    Substitute& state = substitute();
    if (!QFontDatabase::hasFamily(face) && isSansSerif(face) && !state.tried && state.use) {
        state.tried = true;
        state.id = QFontDatabase::addApplicationFont(QLatin1String(kWineSansSerif));
    }
    if (!QFontDatabase::hasFamily(face)) return false;
    return QFontDatabase::isSmoothlyScalable(face) || qApp->devicePixelRatio() <= 1.0;
}

// A fallback face is sized by its cell, not its em: MS Sans Serif's cell is 13/11 of its
// em, while the Arial-like faces that stand in for it have a smaller cell and wider letters
// at the same em, so that texts laid out for MS Sans Serif would not fit their controls.
QFont fallbackFont(const QString& face, int em) {
    QFont font;
    QStringList faces;
    for (const char* fallback : kFallbackFaces) faces << QLatin1String(fallback);
    font.setFamilies(faces);
    if (!isSansSerif(face)) {
        font.setPixelSize(em);
        return font;
    }
    int cell = mulDiv(em, kSansSerifCell, kSansSerifEm);
    for (int size = em; size <= kLargestPixelSize; ++size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() >= cell) break;
    }
    return font;
}

}  // namespace

DialogUnits dialogUnits(const DialogTemplate& source) {
    DialogUnits units;
    if (!(source.style & DS_SETFONT)) {
        units.font.setPixelSize(kSystemFontPixels);
        return units;
    }
    QString face = QString::fromLatin1(source.fontFace.c_str());
    int em = mulDiv(source.fontSize, 96, 72);
    if (faceAvailable(face)) {
        units.font = QFont(face);
        units.font.setPixelSize(em);
    } else {
        units.font = fallbackFont(face, em);
    }
    QFontMetrics metrics(units.font);
    int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    units.x = (letters / 26 + 1) / 2;
    units.y = metrics.height();
    return units;
}

void useSansSerifSubstitute(bool use) {
    Substitute& state = substitute();
    if (state.id >= 0) QFontDatabase::removeApplicationFont(state.id);
    state.id = -1;
    state.tried = false;
    state.use = use;
}

}  // namespace layer
