// SPDX-License-Identifier: GPL-3.0-or-later
// The result window, and the Database command that fills one.

#include <QPlainTextEdit>
#include <QtTest>

#include "database/CommandDatabase.h"
#include "ui/extract/ResultWindow.h"
#include "ui/extract/ExtractionCommands.h"
#include "builder/DemoMap.h"
#include "support/WholeText.h"
#include "ui/support/ExtractionFixtures.h"

using namespace quorin;
using namespace quorin::ui;
using namespace quorin::uitest;

class ResultWindowTest : public QObject {
    Q_OBJECT

    TestShell shell_;

private slots:
    void cleanup() { CloseResultWindows(); }

    void windowAndField() {
        auto* window = new ResultWindow(shell_.context());
        QVERIFY(window->isVisible());
        QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(window->windowTitle(), QStringLiteral("Extracted"));
        QCOMPARE(window->centralWidget()->size(), QSize(393, 729));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));

        auto* field = window->findChild<QPlainTextEdit*>(QStringLiteral("FldExtract"));
        QVERIFY(field);
        QCOMPARE(field->geometry(), QRect(1, 0, 392, 729));
        QVERIFY(field->toPlainText().isEmpty());
        QVERIFY(!field->isReadOnly());
        QVERIFY(field->tabChangesFocus());
        QCOMPARE(field->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(field->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(field->lineWrapMode(), QPlainTextEdit::WidgetWidth);

        // The field follows every edge of the window.
        window->resize(window->width() + 200, window->height() + 100);
        QTRY_COMPARE(field->size(), QSize(592, 829));
        QCOMPARE(field->pos(), QPoint(1, 0));
    }

    void appendAddsAfterTheText_data() {
        QTest::addColumn<QByteArrayList>("pieces");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one piece") << QByteArrayList{"(global short a 5)\n"} << QStringLiteral("(global short a 5)\n");
        QTest::newRow("no line break added") << QByteArrayList{"ab", "cd\n", "e"} << QStringLiteral("abcd\ne");
        QTest::newRow("blank lines kept") << QByteArrayList{"\n\n\n\n\n", "x\n"} << QStringLiteral("\n\n\n\n\nx\n");
        QTest::newRow("bytes as characters")
            << QByteArrayList{"caf\xE9 \xFF"} << (QStringLiteral("caf") + QChar(0xE9) + u' ' + QChar(0xFF));
    }
    void appendAddsAfterTheText() {
        QFETCH(QByteArrayList, pieces);
        QFETCH(QString, shown);
        auto* window = new ResultWindow(shell_.context());
        for (const QByteArray& piece : pieces) window->appendText(std::string_view(piece.data(), piece.size()));
        QCOMPARE(FieldText(*window), shown);
        QCOMPARE(window->field().document()->blockCount(), shown.count(u'\n') + 1);
    }

    void databaseWindow() {
        TestMap map;
        QVERIFY(map.load(DemoMap()));
        ExtractionCommands commands(shell_.context(), [&map]() -> const MapState& { return map.state(); });
        const auto expected = testing::CommandDatabaseWhole(map.state().SyntaxCache);
        QVERIFY(!expected.lines.empty());
        QString expectedText;
        for (const std::string& line : expected.lines) expectedText += Latin1(line);

        RecordingDialogs& dialogs = shell_.dialogs.fresh();
        QList<ResultWindow*> atMessage;
        dialogs.whileShown = [&](const QString&) { atMessage = ResultWindows(); };
        commands.database();
        // The text goes in a slice at a time; the message comes once it is in.
        QTRY_COMPARE(atMessage.size(), 1);
        ResultWindow& window = *atMessage.first();
        QCOMPARE(window.windowTitle(), QStringLiteral("Map Script command DataBase"));
        QCOMPARE(window.suggestedName(), QStringLiteral("database.txt"));
        QCOMPARE(FieldText(window), expectedText);
        QCOMPARE(dialogs.messages.size(), 1);
        const QString message = dialogs.messages.first();
        QVERIFY2(message.startsWith(Latin1(std::to_string(map.state().SyntaxCache.size()) + " proccessed, and " +
                                           std::to_string(expected.added) + " were added. This took ")),
                 qPrintable(message));

        // A second run opens a further window; the first keeps its lines.
        commands.database();
        QCOMPARE(ResultWindows().size(), 2);
        QCOMPARE(FieldText(window), expectedText);
    }

    void databaseWithNoMap() {
        TestMap empty;
        ExtractionCommands commands(shell_.context(), [&empty]() -> const MapState& { return empty.state(); });
        RecordingDialogs& dialogs = shell_.dialogs.fresh();
        commands.database();
        QCOMPARE(ResultWindows().size(), 1);
        QTRY_COMPARE(dialogs.messages.size(), 1);
        QVERIFY(FieldText(*ResultWindows().first()).isEmpty());
        QVERIFY(dialogs.messages.first().startsWith(QStringLiteral("0 proccessed, and 0 were added.")));
    }
};

QTEST_MAIN(ResultWindowTest)
#include "result_window_test.moc"
