// SPDX-License-Identifier: GPL-3.0-or-later
// How the editor pages look: the captions of a page share one size, and
// they are the names messages give the fields.

#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include "edit/FieldRule.h"
#include "ui/main/EditorLayout.h"
#include "ui/main/MainWindow.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

class EditorPagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void captionsOfAPageShareOneSize_data();
    void captionsOfAPageShareOneSize();
    void messagesNameFieldsByTheirCaptions();

private:
    MainWindow& window() { return WiredMainWindow(); }
};

void EditorPagesTest::initTestCase() {
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

void EditorPagesTest::captionsOfAPageShareOneSize_data() {
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("script") << QStringList{"StaticText1", "StaticText22", "StaticText3", "StaticText4"};
    QTest::newRow("global") << QStringList{"StaticText5", "StaticText6", "StaticText8"};
    QTest::newRow("node") << QStringList{"StaticText11", "StaticText12", "StaticText13", "StaticText14",
                                         "StaticText15", "StaticText20", "StaticText16", "StaticText21"};
}

// One size for a page's captions: each fits its label, half a point more
// would not fit one of them (unless they already have the window's size),
// and the labels keep their places.
void EditorPagesTest::captionsOfAPageShareOneSize() {
    QFETCH(QStringList, captions);
    QList<QLabel*> labels;
    for (const QString& name : captions) {
        auto* label = window().findChild<QLabel*>(name);
        QVERIFY2(label, qPrintable(name));
        QCOMPARE(label->size(), QSize(104, 20));
        labels << label;
    }
    const QFont font = labels.front()->font();
    bool oneDoesNotFitLarger = false;
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() + 0.5);
    for (QLabel* label : labels) {
        QCOMPARE(label->font().pointSizeF(), font.pointSizeF());
        QVERIFY2(QFontMetrics(font).horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
        oneDoesNotFitLarger |= QFontMetrics(larger).horizontalAdvance(label->text()) > label->width();
    }
    QVERIFY(oneDoesNotFitLarger || font.pointSizeF() >= window().font().pointSizeF());
}

// A message names a field as its page does: the caption placed before it.
void EditorPagesTest::messagesNameFieldsByTheirCaptions() {
    const char* caption = nullptr;
    int fields = 0;
    for (const ui::ControlEntry& entry : ui::kEditorControls) {
        if (entry.kind == ui::ControlKind::Label) caption = entry.caption;
        if (!entry.field) continue;
        QVERIFY(caption);
        QCOMPARE(QString::fromStdString(std::string(RuleFor(*entry.field).label)), QString::fromLatin1(caption));
        ++fields;
    }
    QCOMPARE(fields, kEditFieldCount);
}

QTEST_MAIN(EditorPagesTest)
#include "editor_pages_test.moc"
