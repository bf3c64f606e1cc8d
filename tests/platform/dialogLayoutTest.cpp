// Every dialog of the resource script laid out in the font the layer draws it in: each
// text of a static, button, radio button, check box and group box fits inside its control,
// with the metric-compatible MS Sans Serif and with the fallback face used without it.
#include <gtest/gtest.h>
#include <windows.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOption>

#include <string>
#include <vector>

#include "dialogProbe.h"
#include "platform/src/dialogData.h"
#include "platform/src/dialogFont.h"

extern const char g_resourceScript[];

namespace {

enum class Face { SansSerifSubstitute, Fallback };

std::vector<int> scriptDialogIds() {
    std::vector<layer::MenuTemplate> menus;
    std::vector<layer::DialogTemplate> dialogs;
    layer::parseScript(g_resourceScript, menus, dialogs);
    std::vector<int> ids;
    for (const layer::DialogTemplate& dialog : dialogs) ids.push_back(dialog.id);
    return ids;
}

// The rectangle Qt's style gives the control's text, in the control's coordinates.
QRect textRoom(const layer::ControlTemplate& source, QWidget* widget) {
    QStyle* style = widget->style();
    if (source.kind == layer::ControlKind::GroupBox) {
        QStyleOptionGroupBox option;
        option.initFrom(widget);
        option.text = static_cast<QGroupBox*>(widget)->title();
        option.textAlignment = Qt::AlignLeft;
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        return style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, widget)
            .intersected(widget->rect());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->contentsRect();
    QStyleOptionButton option;
    option.initFrom(widget);
    option.text = QString::fromLatin1(source.text.c_str());
    QStyle::SubElement contents = source.kind == layer::ControlKind::AutoRadioButton ? QStyle::SE_RadioButtonContents
                                  : source.kind == layer::ControlKind::AutoCheckBox  ? QStyle::SE_CheckBoxContents
                                                                                     : QStyle::SE_PushButtonContents;
    return style->subElementRect(contents, &option, widget);
}

class DialogLayout : public probe::DialogTest, public ::testing::WithParamInterface<Face> {
protected:
    void SetUp() override {
        probe::DialogTest::SetUp();
        if (GetParam() == Face::Fallback) layer::useSansSerifSubstitute(false);
    }
    void TearDown() override {
        // The next test of this process finds the substitute again.
        layer::useSansSerifSubstitute(true);
        probe::DialogTest::TearDown();
    }
};

TEST_P(DialogLayout, EveryTextFitsItsControl) {
    std::vector<int> ids = scriptDialogIds();
    ASSERT_EQ(ids.size(), 3u);
    for (int id : ids) {
        probe::show(id, [&](td::Modal& m) {
            auto* data = static_cast<layer::DialogData*>(probe::dialog()->data);
            QString family = QFontInfo(probe::dialog()->widget->font()).family();
            // The preferred face must really be there: a machine without it would test the
            // fallback twice.
            if (GetParam() == Face::SansSerifSubstitute)
                EXPECT_EQ(family, QStringLiteral("MS Sans Serif"));
            else
                EXPECT_NE(family, QStringLiteral("MS Sans Serif"));
            for (HWND control : data->controls) {
                const layer::ControlTemplate& source = layer::controlSource(control);
                if (source.kind == layer::ControlKind::Edit || source.text.empty()) continue;
                QWidget* widget = control->widget;
                QFontMetrics metrics(widget->font());
                QString text = QString::fromLatin1(source.text.c_str());
                QRect room = textRoom(source, widget);
                EXPECT_GE(room.width(), metrics.horizontalAdvance(text))
                    << m.caption() << ": \"" << source.text << "\" in " << family.toStdString() << " "
                    << widget->font().pixelSize() << " px, control " << widget->width() << " x " << widget->height();
                EXPECT_GE(room.height(), metrics.height()) << m.caption() << ": \"" << source.text << "\"";
            }
            m.pressEscape();
        });
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, DialogLayout, ::testing::Values(Face::SansSerifSubstitute, Face::Fallback),
                         [](const ::testing::TestParamInfo<Face>& info) {
                             return std::string(info.param == Face::Fallback ? "Fallback" : "SansSerifSubstitute");
                         });

}  // namespace
