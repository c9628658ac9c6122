// SPDX-License-Identifier: GPL-3.0-or-later
// Closing the main window ends the run, whatever other windows are open:
// they close with it and the event loop returns.

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "builder/DemoMap.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

namespace {

QStringList VisibleWindows() {
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) names << widget->objectName();
    }
    return names;
}

}  // namespace

class QuitTest : public QObject {
    Q_OBJECT

private slots:
    void closingTheMainWindowQuits() {
        MainWindow& window = wired_.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString path = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "quit.map"));
        QCOMPARE(OpenThroughMenu(window, dialogs_, path), QStringList{QStringLiteral("Map loaded!")});

        QStringList openBeforeClose;
        QTimer::singleShot(0, &window, [&] {
            TriggerMenuItem(window, "ExtractScriptRange");
            TriggerMenuItem(window, "ScriptToolsdatabase");
            openBeforeClose = VisibleWindows();
            window.close();
        });
        // A run that does not end exits with its own code instead of hanging.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(20000);

        QCOMPARE(QApplication::exec(), 0);
        guard.stop();
        openBeforeClose.sort();
        QCOMPARE(openBeforeClose, (QStringList{"Extract", "MainWindow", "WinRange"}));
        QCOMPARE(VisibleWindows(), QStringList{});
    }

private:
    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

QTEST_MAIN(QuitTest)
#include "quit_test.moc"
