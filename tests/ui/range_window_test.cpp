// SPDX-License-Identifier: GPL-3.0-or-later
// The range window: its lists, its pages and its two extraction buttons.

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

#include "extract/RangeExtraction.h"
#include "ui/extract/ResultWindow.h"
#include "ui/extract/ExtractionCommands.h"
#include "ui/extract/RangeWindow.h"
#include "builder/DemoMap.h"
#include "ui/support/ExtractionFixtures.h"

using namespace quorin;
using namespace quorin::ui;
using namespace quorin::uitest;

namespace {

QStringList Rows(const QComboBox& list) {
    QStringList rows;
    for (int i = 0; i < list.count(); ++i) rows.append(list.itemText(i));
    return rows;
}

template <typename Record>
QStringList CacheNames(const std::vector<Record>& cache, int from, int to) {
    QStringList names;
    for (int i = from; i <= to; ++i) names.append(Latin1(cache[static_cast<std::size_t>(i)].Name.str()));
    return names;
}

}  // namespace

class RangeWindowTest : public QObject {
    Q_OBJECT

    ExtractionHarness harness_;
    TestMap& map_ = harness_.map;
    std::unique_ptr<ExtractionCommands>& commands_ = harness_.commands;

    QComboBox& list(const char* name) {
        auto* found = commands_->rangeWindow()->findChild<QComboBox*>(QLatin1String(name));
        Q_ASSERT(found);
        return *found;
    }
    void openPage(bool scripts) { scripts ? commands_->showScriptRange() : commands_->showGlobalRange(); }

private slots:
    void init() { QVERIFY(harness_.start(DemoMap())); }
    void cleanup() { harness_.stop(); }

    void windowAndPages() {
        commands_->showScriptRange();
        QPointer<RangeWindow> window = commands_->rangeWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Extract Range"));
        QCOMPARE(window->centralWidget()->size(), QSize(300, 143));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        auto* pages = window->findChild<QStackedWidget*>(QStringLiteral("BgkRnd"));
        QVERIFY(pages);
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->currentIndex(), 1);
        QCOMPARE(pages->currentWidget()->findChild<QLabel*>(QStringLiteral("StaticText1"))->text(),
                 QStringLiteral("Please select a starting script and ending script for the range of the extraction"));
        QCOMPARE(pages->currentWidget()->findChild<QPushButton*>(QStringLiteral("ScrExtract"))->text(),
                 QStringLiteral("Extract Range"));
        for (const char* name : {"StaticText2", "StaticText3", "StaticText5", "StaticText6"}) {
            auto* caption = window->findChild<QLabel*>(QLatin1String(name));
            QVERIFY2(QFontMetrics(caption->font()).horizontalAdvance(caption->text()) <= caption->width(), name);
        }

        // The same window turns to the global page, keeping its choices.
        list("ScrStart").setCurrentIndex(2);
        commands_->showGlobalRange();
        QCOMPARE(commands_->rangeWindow(), window.data());
        QCOMPARE(pages->currentIndex(), 2);
        QCOMPARE(pages->currentWidget()->findChild<QLabel*>(QStringLiteral("StaticText5"))->text(),
                 QStringLiteral("Starting global"));
        QVERIFY(pages->currentWidget()->findChild<QComboBox*>(QStringLiteral("GlbEnd")));
        QCOMPARE(list("ScrStart").currentIndex(), 2);

        // Closed by the user: the next command makes a new one.
        window->close();
        QTRY_VERIFY(!window);
        commands_->showGlobalRange();
        QVERIFY(commands_->rangeWindow());
        QCOMPARE(list("ScrStart").currentIndex(), -1);
    }

    void startListsAtCreation_data() {
        QTest::addColumn<int>("scripts");
        QTest::addColumn<int>("globals");
        QTest::newRow("demo") << -1 << -1;
        QTest::newRow("single script and global") << 1 << 1;
        QTest::newRow("two of each") << 2 << 2;
        QTest::newRow("none") << 0 << 0;
    }
    void startListsAtCreation() {
        QFETCH(int, scripts);
        QFETCH(int, globals);
        QVERIFY(map_.load(RenamedDemo("s_", scripts, globals)));
        commands_->showScriptRange();
        const MapState& state = map_.state();
        const int scriptCount = static_cast<int>(state.ScriptHeaderCache.size());
        const int globalCount = static_cast<int>(state.GlobalHeaderCache.size());
        QCOMPARE(Rows(list("ScrStart")), CacheNames(state.ScriptHeaderCache, 0, scriptCount - 2));
        QCOMPARE(Rows(list("GlbStart")), CacheNames(state.GlobalHeaderCache, 0, globalCount - 2));
        QCOMPARE(list("ScrStart").count(), std::max(scriptCount - 1, 0));
        for (const char* name : {"ScrStart", "ScrEnd", "GlbStart", "GlbEnd"}) QCOMPARE(list(name).currentIndex(), -1);
        QCOMPARE(list("ScrEnd").count(), 0);
        QCOMPARE(list("GlbEnd").count(), 0);
    }

    void startListsWithNoMap() {
        TestMap empty;
        ExtractionCommands commands(harness_.shell.context(), [&empty]() -> const MapState& { return empty.state(); });
        commands.showGlobalRange();
        QCOMPARE(commands.rangeWindow()->findChild<QComboBox*>(QStringLiteral("ScrStart"))->count(), 0);
        QCOMPARE(commands.rangeWindow()->findChild<QComboBox*>(QStringLiteral("GlbStart"))->count(), 0);
    }

    void endListAfterEachStartChange_data() {
        QTest::addColumn<bool>("scripts");
        QTest::addColumn<QList<int>>("starts");  // chosen in this order
        QTest::addColumn<int>("firstEnd");       // cache position of the first end row
        const QList<std::pair<const char*, bool>> pages{{"script", true}, {"global", false}};
        for (const auto& [page, scripts] : pages) {
            QTest::addRow("%s first", page) << scripts << QList<int>{0} << 1;
            QTest::addRow("%s middle", page) << scripts << QList<int>{2} << 3;
            QTest::addRow("%s last start", page) << scripts << QList<int>{4} << 5;
            QTest::addRow("%s later start after earlier", page) << scripts << QList<int>{1, 3} << 4;
            QTest::addRow("%s earlier start after later", page) << scripts << QList<int>{3, 0} << 1;
            QTest::addRow("%s no start after a start", page) << scripts << QList<int>{3, -1} << 0;
        }
    }
    void endListAfterEachStartChange() {
        QFETCH(bool, scripts);
        QFETCH(QList<int>, starts);
        QFETCH(int, firstEnd);
        openPage(scripts);
        QComboBox& start = list(scripts ? "ScrStart" : "GlbStart");
        QComboBox& end = list(scripts ? "ScrEnd" : "GlbEnd");
        for (int i = 0; i < starts.size(); ++i) {
            start.setCurrentIndex(starts[i]);
            // A choice of end that the next start change must clear.
            if (i + 1 < starts.size()) end.setCurrentIndex(end.count() - 1);
        }
        const MapState& state = map_.state();
        const QStringList expected = scripts ? CacheNames(state.ScriptHeaderCache, firstEnd, 5)
                                             : CacheNames(state.GlobalHeaderCache, firstEnd, 5);
        QCOMPARE(Rows(end), expected);
        QCOMPARE(end.currentIndex(), -1);
        QCOMPARE(Rows(list(scripts ? "GlbEnd" : "ScrEnd")), QStringList());
    }

    void extractButton_data() {
        QTest::addColumn<bool>("scripts");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("endRow");
        QTest::addColumn<qint64>("last");
        QTest::newRow("scripts smallest") << true << 2 << 0 << qint64{3};
        QTest::newRow("scripts to the last") << true << 0 << 4 << qint64{5};
        QTest::newRow("scripts last pair") << true << 4 << 0 << qint64{5};
        QTest::newRow("globals smallest") << false << 0 << 0 << qint64{1};
        QTest::newRow("globals to the last") << false << 1 << 3 << qint64{5};
    }
    void extractButton() {
        QFETCH(bool, scripts);
        QFETCH(int, startRow);
        QFETCH(int, endRow);
        QFETCH(qint64, last);
        openPage(scripts);
        QPointer<RangeWindow> range = commands_->rangeWindow();
        auto* button = range->findChild<QPushButton*>(QLatin1String(scripts ? "ScrExtract" : "GlbExtract"));
        list(scripts ? "ScrStart" : "GlbStart").setCurrentIndex(startRow);
        QVERIFY(!button->isEnabled());
        list(scripts ? "ScrEnd" : "GlbEnd").setCurrentIndex(endRow);
        QVERIFY(button->isEnabled());
        const QString expected = Latin1(scripts ? ScriptRangeText(map_.state(), startRow, last)
                                                : GlobalRangeText(map_.state(), startRow, last));
        QVERIFY(!expected.isEmpty());

        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        const auto before = ResultWindows();
        QList<ResultWindow*> atMessage;
        QString textAtMessage;
        bool rangeOpenAtMessage = false;
        dialogs.whileShown = [&](const QString&) {
            atMessage = NewResultWindows(before);
            if (atMessage.size() == 1) textAtMessage = FieldText(*atMessage.first());
            rangeOpenAtMessage = range && range->isVisible();
        };
        QTest::mouseClick(button, Qt::LeftButton);

        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("done")});
        QCOMPARE(atMessage.size(), 1);
        QCOMPARE(textAtMessage, expected);
        QVERIFY(rangeOpenAtMessage);
        QCOMPARE(atMessage.first()->windowTitle(), QStringLiteral("Extracted"));
        const int lastRow = static_cast<int>(last);
        const QStringList cache = scripts ? CacheNames(map_.state().ScriptHeaderCache, startRow, lastRow)
                                          : CacheNames(map_.state().GlobalHeaderCache, startRow, lastRow);
        QCOMPARE(atMessage.first()->suggestedName(), QStringLiteral("%1 %2-%3.txt")
                                                          .arg(scripts ? "scripts" : "globals", cache.first(), cache.last()));
        QTRY_VERIFY(!range);
        QCOMPARE(NewResultWindows(before), atMessage);
    }

    void twoRunsOpenTwoWindows() {
        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        const auto before = ResultWindows();
        QList<QString> expected;
        for (int start : {0, 3}) {
            commands_->showScriptRange();
            list("ScrStart").setCurrentIndex(start);
            list("ScrEnd").setCurrentIndex(0);
            expected.append(Latin1(ScriptRangeText(map_.state(), start, start + 1)));
            commands_->rangeWindow()->ScrExtract_Action();
            QTRY_VERIFY(!commands_->rangeWindow());
        }
        const auto windows = NewResultWindows(before);
        QCOMPARE(windows.size(), 2);
        QStringList texts{FieldText(*windows[0]), FieldText(*windows[1])};
        texts.sort();
        std::sort(expected.begin(), expected.end());
        QCOMPARE(texts, QStringList(expected));
        QCOMPARE(dialogs.messages.size(), 2);
    }

    void pressWithoutFullChoiceDoesNothing_data() {
        QTest::addColumn<bool>("scripts");
        QTest::addColumn<int>("startRow");
        QTest::newRow("script, nothing chosen") << true << -1;
        QTest::newRow("script, start only") << true << 1;
        QTest::newRow("global, nothing chosen") << false << -1;
        QTest::newRow("global, start only") << false << 2;
    }
    void pressWithoutFullChoiceDoesNothing() {
        QFETCH(bool, scripts);
        QFETCH(int, startRow);
        openPage(scripts);
        list(scripts ? "ScrStart" : "GlbStart").setCurrentIndex(startRow);
        if (startRow < 0) list(scripts ? "ScrEnd" : "GlbEnd").setCurrentIndex(2);  // every record is offered
        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        const auto before = ResultWindows();
        QPointer<RangeWindow> range = commands_->rangeWindow();
        auto* button = range->findChild<QPushButton*>(QLatin1String(scripts ? "ScrExtract" : "GlbExtract"));
        QVERIFY(!button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(NewResultWindows(before).isEmpty());
        QVERIFY(range && range->isVisible());
    }

    void refilledAfterLoad() {
        commands_->showScriptRange();
        list("ScrStart").setCurrentIndex(3);
        list("GlbStart").setCurrentIndex(1);
        QVERIFY(map_.load(RenamedDemo("new_", 4, 3)));
        commands_->mapLoaded();
        const MapState& state = map_.state();
        QCOMPARE(Rows(list("ScrStart")), CacheNames(state.ScriptHeaderCache, 0, 2));
        QCOMPARE(Rows(list("GlbStart")), CacheNames(state.GlobalHeaderCache, 0, 1));
        QCOMPARE(list("ScrStart").currentIndex(), -1);
        QCOMPARE(list("ScrEnd").count(), 0);
        QCOMPARE(list("GlbEnd").count(), 0);
        QVERIFY(!commands_->rangeWindow()->findChild<QPushButton*>(QStringLiteral("ScrExtract"))->isEnabled());

        // The names offered are the names extracted.
        list("ScrStart").setCurrentIndex(2);
        QCOMPARE(Rows(list("ScrEnd")), CacheNames(state.ScriptHeaderCache, 3, 3));
        list("ScrEnd").setCurrentIndex(0);
        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        const auto before = ResultWindows();
        commands_->rangeWindow()->ScrExtract_Action();
        QTRY_COMPARE(dialogs.messages.size(), 1);
        const auto windows = NewResultWindows(before);
        QCOMPARE(windows.size(), 1);
        QCOMPARE(FieldText(*windows.first()), Latin1(ScriptRangeText(state, 2, 3)));
        QVERIFY(FieldText(*windows.first()).contains(QStringLiteral("new_")));
    }

    void duplicateNamesAreTwoRows() {
        MapBuilder twins = DemoMap();
        twins.scripts[2].Name = twins.scripts[1].Name;
        QVERIFY(map_.load(twins));
        commands_->showScriptRange();
        QCOMPARE(list("ScrStart").itemText(1), list("ScrStart").itemText(2));
        list("ScrStart").setCurrentIndex(2);
        list("ScrEnd").setCurrentIndex(0);
        const auto range = commands_->rangeWindow()->scriptRange();
        QVERIFY(range);
        QCOMPARE(range->first, 2);
        QCOMPARE(range->last, 3);
    }
};

QTEST_MAIN(RangeWindowTest)
#include "range_window_test.moc"
