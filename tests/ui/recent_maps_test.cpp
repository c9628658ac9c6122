// SPDX-License-Identifier: GPL-3.0-or-later
// The other roads into the load chain: File > Open Recent, kept in the
// user's settings, and a map file dropped on the main window.

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include "builder/DemoMap.h"
#include "support/TempMap.h"
#include "ui/extract/ResultWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/main/RecentMaps.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

namespace {

// The demo map with its first script renamed, so a test can tell which
// file the tree shows.
MapBuilder Marked(const std::string& mark) {
    MapBuilder map = DemoMap();
    map.scripts[0].Name = mark;
    return map;
}

// The items File > Open Recent shows on window's bar, as the user sees them.
QList<QAction*> RecentItems(QWidget& window) {
    auto* menu = window.findChild<QMenu*>(QStringLiteral("FileOpenRecent"));
    if (!menu) return {};
    emit menu->aboutToShow();
    return menu->actions();
}

QStringList Texts(const QList<QAction*>& items) {
    QStringList texts;
    for (QAction* item : items) texts << item->text();
    return texts;
}

}  // namespace

class RecentMapsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The user's own settings stay untouched.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_.path("settings")));
        QSettings().clear();
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

    void emptyListSaysSo() {
        const QList<QAction*> items = RecentItems(window());
        QCOMPARE(Texts(items), QStringList{QStringLiteral("No Recent Maps")});
        QVERIFY(!items.front()->isEnabled());
    }

    void keepsTheLastEightNewestFirst() {
        QStringList opened;
        for (int i = 0; i < 10; ++i) {
            const std::string name = "map" + std::to_string(i) + ".map";
            opened.prepend(QString::fromStdString(testing::WriteMap(dir_, Marked("m" + std::to_string(i)), name.c_str())));
            QCOMPARE(OpenThroughMenu(window(), dialogs_, opened.front()), QStringList{QStringLiteral("Map loaded!")});
        }
        // A refused file is not one the user can come back to.
        MapBuilder refused = DemoMap();
        refused.version = 609;
        const QString refusedPath = QString::fromStdString(testing::WriteMap(dir_, refused, "refused.map"));
        QCOMPARE(OpenThroughMenu(window(), dialogs_, refusedPath), QStringList{QStringLiteral("cant load |1|")});
        // Opening a listed map again moves it up instead of listing it twice.
        QCOMPARE(OpenThroughMenu(window(), dialogs_, opened[4]), QStringList{QStringLiteral("Map loaded!")});
        opened.move(4, 0);

        const QStringList expected = opened.mid(0, 8);
        QCOMPARE(ui::RecentMaps(), expected);
        QStringList shown;
        for (qsizetype i = 0; i < expected.size(); ++i) shown << QStringLiteral("&%1  %2").arg(i + 1).arg(expected[i]);
        QCOMPARE(Texts(RecentItems(window())), shown);
    }

    // Chosen on any window's bar, an item loads into the main window.
    void chosenItemLoadsTheMap_data() {
        QTest::addColumn<bool>("fromResultWindow");
        QTest::newRow("main window") << false;
        QTest::newRow("result window") << true;
    }
    void chosenItemLoadsTheMap() {
        QFETCH(bool, fromResultWindow);
        const QString first = QString::fromStdString(testing::WriteMap(dir_, Marked("first"), "first.map"));
        const QString second = QString::fromStdString(testing::WriteMap(dir_, Marked("second"), "second.map"));
        OpenThroughMenu(window(), dialogs_, first);
        OpenThroughMenu(window(), dialogs_, second);
        std::unique_ptr<ui::ResultWindow> result(fromResultWindow ? new ui::ResultWindow(wired_.context()) : nullptr);
        QWidget& bar = result ? static_cast<QWidget&>(*result) : window();
        const QList<QAction*> items = RecentItems(bar);
        QVERIFY(items.size() >= 2);
        const auto before = dialogs_.messages.size();
        items[1]->trigger();
        QCOMPARE(dialogs_.messages.mid(before), QStringList{QStringLiteral("Map loaded!")});
        QCOMPARE(window().state().loadedPath(), first.toStdString());
        QTreeWidgetItem* scripts = ExpandPath(List(window()), {QStringLiteral("scripts")});
        QVERIFY(scripts);
        QCOMPARE(scripts->child(0)->text(0), QStringLiteral("s: first"));
        QCOMPARE(ui::RecentMaps().front(), first);
    }

    // A map that is gone says so once, then leaves the list; one that is
    // still there but refused stays, as the modder may mend it.
    void goneMapLeavesTheList() {
        const QString gone = QString::fromStdString(testing::WriteMap(dir_, Marked("gone"), "gone.map"));
        const QString damaged = QString::fromStdString(testing::WriteMap(dir_, Marked("damaged"), "damaged.map"));
        OpenThroughMenu(window(), dialogs_, gone);
        OpenThroughMenu(window(), dialogs_, damaged);
        QVERIFY(QFile::remove(gone));
        testing::WriteBytes(damaged.toStdString(), {1, 2, 3});
        const auto before = dialogs_.messages.size();
        RecentItems(window())[1]->trigger();
        QCOMPARE(dialogs_.messages.mid(before),
                 QStringList{QStringLiteral("Can't open \"%1\": the file does not exist.").arg(gone)});
        RecentItems(window())[0]->trigger();
        QCOMPARE(dialogs_.messages.size(), before + 2);
        QVERIFY(!ui::RecentMaps().contains(gone));
        QCOMPARE(ui::RecentMaps().front(), damaged);
        QVERIFY(!Texts(RecentItems(window())).join(QLatin1Char('\n')).contains(QLatin1String("gone.map")));
    }

    void aPathWithAnAmpersandIsShownAsItIs() {
        const QString path = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "salt & marsh.map"));
        OpenThroughMenu(window(), dialogs_, path);
        QAction* item = RecentItems(window()).front();
        QCOMPARE(item->text(), QStringLiteral("&1  %1").arg(QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"))));
    }

    void dropOpensAMap_data() {
        QTest::addColumn<QStringList>("files");     // dropped, in this order
        QTest::addColumn<bool>("accepted");         // the drag is offered a drop
        QTest::addColumn<QString>("message");       // the box the load shows; empty: no load
        QTest::addColumn<QString>("loadedScript");  // the first script of the map shown afterwards
        QTest::newRow("a map") << QStringList{"dropped.map"} << true << "Map loaded!" << "dropped";
        QTest::newRow("capital suffix") << QStringList{"DROPPED.MAP"} << true << "Map loaded!" << "dropped";
        QTest::newRow("map after a text") << QStringList{"notes.txt", "dropped.map"} << true << "Map loaded!"
                                          << "dropped";
        QTest::newRow("only a text") << QStringList{"notes.txt"} << false << "" << "before";
        QTest::newRow("refused map") << QStringList{"old.map"} << true << "cant load |1|" << "before";
    }
    void dropOpensAMap() {
        QFETCH(QStringList, files);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        QFETCH(QString, loadedScript);
        OpenThroughMenu(window(), dialogs_, QString::fromStdString(testing::WriteMap(dir_, Marked("before"), "before.map")));
        MapBuilder old = Marked("old");
        old.version = 609;
        QList<QUrl> urls;
        for (const QString& file : files) {
            const std::string name = file.toStdString();
            const MapBuilder map = file.startsWith(QStringLiteral("old")) ? old : Marked("dropped");
            urls << QUrl::fromLocalFile(QString::fromStdString(testing::WriteMap(dir_, map, name.c_str())));
        }
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = List(window()).mapTo(&window(), List(window()).rect().center());
        const auto before = dialogs_.messages.size();

        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        if (accepted) {
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&window(), &drop);
            QVERIFY(drop.isAccepted());
            QTRY_COMPARE(dialogs_.messages.size(), before + 1);
            QCOMPARE(dialogs_.messages.last(), message);
        }
        QTreeWidgetItem* scripts = Row(List(window()), QStringLiteral("scripts"));
        QVERIFY(scripts);
        ExpandRow(List(window()), *scripts);
        QCOMPARE(scripts->child(0)->text(0), QStringLiteral("s: ") + loadedScript);
    }

private:
    MainWindow& window() { return wired_.window(); }

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

QTEST_MAIN(RecentMapsTest)
#include "recent_maps_test.moc"
