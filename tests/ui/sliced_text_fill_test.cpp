// SPDX-License-Identifier: GPL-3.0-or-later
// A long text goes into a field over several turns of the event loop, ends
// exactly as one append would have left it, and says when it is in.

#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <memory>
#include <string>

#include "ui/shell/MapText.h"
#include "ui/shell/SlicedTextFill.h"

using quorin::ui::FromMapText;
using quorin::ui::SlicedTextFill;

namespace {

// Lines of every byte but the zero, some far longer than a piece, so that
// pieces end both at line ends and inside lines.
std::string LongText(std::size_t bytes) {
    std::string text;
    for (int line = 0; text.size() < bytes; ++line) {
        const std::size_t length = line % 50 == 49 ? 3 * SlicedTextFill::kPieceBytes : 40 + line % 70;
        for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(1 + (line * 7 + i) % 255);
        text += '\n';
    }
    return text;
}

}  // namespace

class SlicedTextFillTest : public QObject {
    Q_OBJECT

private slots:
    void endsAsOneAppendWould_data() {
        QTest::addColumn<QByteArray>("before");  // what the field held
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("empty text") << QByteArray() << 0 << false;
        QTest::newRow("short text after some") << QByteArray("kept\n") << 100 << false;
        QTest::newRow("two megabytes, read-only field") << QByteArray() << 2 * 1024 * 1024 << true;
    }
    void endsAsOneAppendWould() {
        QFETCH(QByteArray, before);
        QFETCH(int, bytes);
        QFETCH(bool, readOnly);
        QPlainTextEdit field;
        field.setPlainText(QString::fromLatin1(before));
        field.setReadOnly(readOnly);
        const std::string text = LongText(static_cast<std::size_t>(bytes));
        int done = 0;
        SlicedTextFill::Start(field, text, [&] { ++done; });
        // Nothing before the event loop turns, and no typing meanwhile.
        QCOMPARE(field.toPlainText(), QString::fromLatin1(before));
        QVERIFY(field.isReadOnly());
        int turns = 0;
        while (done == 0 && turns < 100000) {
            QCoreApplication::processEvents();
            ++turns;
        }
        QCOMPARE(done, 1);
        QPlainTextEdit oneAppend(QString::fromLatin1(before));
        QTextCursor end(oneAppend.document());
        end.movePosition(QTextCursor::End);
        end.insertText(FromMapText(text));
        QCOMPARE(field.toPlainText(), oneAppend.toPlainText());
        QCOMPARE(field.blockCount(), oneAppend.blockCount());
        QCOMPARE(field.isReadOnly(), readOnly);
        QVERIFY(!field.document()->isUndoAvailable());
        // Two megabytes take several turns: no turn did it all. How many
        // depends on the machine's speed and load, so only a few are asked.
        if (bytes > 1024 * 1024) QVERIFY2(turns > 2, qPrintable(QString::number(turns)));
        QCoreApplication::processEvents();
        QCOMPARE(done, 1);
    }

    void aFieldThatGoesStopsTheFill() {
        auto field = std::make_unique<QPlainTextEdit>();
        int done = 0;
        QPointer<SlicedTextFill> fill = SlicedTextFill::Start(*field, LongText(4 * 1024 * 1024), [&] { ++done; });
        QCoreApplication::processEvents();
        QVERIFY(fill);
        QVERIFY(!fill->finished());
        field.reset();
        QVERIFY(!fill);
        QTest::qWait(20);
        QCOMPARE(done, 0);
    }
};

QTEST_MAIN(SlicedTextFillTest)
#include "sliced_text_fill_test.moc"
