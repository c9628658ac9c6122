// SPDX-License-Identifier: GPL-3.0-or-later
// How the editor pages look and what they let through: text that is never
// written (a read-only map's fields, every page's text box) refuses typing
// and the Edit menu's changes and looks read-only; the captions of a page
// share one size.

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "builder/DemoMap.h"
#include "edit/FieldRule.h"
#include "support/TempMap.h"
#include "ui/main/EditorLayout.h"
#include "ui/main/MainWindow.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

namespace {

QString TextOf(QWidget& control) {
    if (auto* line = qobject_cast<QLineEdit*>(&control)) return line->text();
    return qobject_cast<QPlainTextEdit*>(&control)->toPlainText();
}

bool LooksReadOnly(const QWidget& control) {
    return control.palette().color(QPalette::Base) == control.palette().color(QPalette::Window);
}

}  // namespace

class EditorPagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void textNeverWrittenRefusesChanges_data();
    void textNeverWrittenRefusesChanges();
    void writableFieldLooksEditable();
    void captionsOfAPageShareOneSize_data();
    void captionsOfAPageShareOneSize();
    void messagesNameFieldsByTheirCaptions();

private:
    MainWindow& window() { return wired_.window(); }

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

void EditorPagesTest::initTestCase() {
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

// Each control that shows text the map never gets: the Edit menu's Cut,
// Paste and Delete, and typing, leave it as it is; Copy still works.
void EditorPagesTest::textNeverWrittenRefusesChanges_data() {
    QTest::addColumn<bool>("readOnlyMap");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("item");
    for (const char* item : {"EditCut", "EditPaste", "EditClear"}) {
        QTest::addRow("field of a read-only map, %s", item) << true << "FldScriptName" << item;
        QTest::addRow("script text, %s", item) << false << "FldScriptDeComp" << item;
    }
}

void EditorPagesTest::textNeverWrittenRefusesChanges() {
    QFETCH(bool, readOnlyMap);
    QFETCH(QString, control);
    QFETCH(QString, item);
    const std::string file = testing::WriteMap(dir_, DemoMap(), "look.map");
    dialogs_.answerOpen(QString::fromStdString(file));
    TriggerMenuItem(window(), readOnlyMap ? "FileOpenReadOnly" : "Fileopen");
    QVERIFY(SelectRow(List(window()), {"scripts"}, "s: intro"));
    auto* widget = window().findChild<QWidget*>(control);
    QVERIFY(widget);
    const QString shown = TextOf(*widget);
    QVERIFY(!shown.isEmpty());
    QVERIFY(LooksReadOnly(*widget));

    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QVERIFY(FocusIn(*widget));
    TriggerMenuItem(window(), "EditSelectAll");
    TriggerMenuItem(window(), qPrintable(item));
    QCOMPARE(TextOf(*widget), shown);
    QTest::keyClicks(widget, QStringLiteral("typed"));
    QTest::keyClick(widget, Qt::Key_Backspace);
    QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(TextOf(*widget), shown);
    TriggerMenuItem(window(), "EditSelectAll");
    TriggerMenuItem(window(), "EditCopy");
    QCOMPARE(QApplication::clipboard()->text(), shown);
}

// The read-only look is the read-only fields' own: a field the modder may
// write looks like any text field.
void EditorPagesTest::writableFieldLooksEditable() {
    OpenThroughMenu(window(), dialogs_, QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "edit.map")));
    QVERIFY(!LooksReadOnly(Field(window(), "FldScriptName")));
    QVERIFY(!LooksReadOnly(Field(window(), "FldSyntaxKidExp")));
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
