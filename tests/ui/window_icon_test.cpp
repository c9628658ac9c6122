// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop tool's own start-up gives its windows the Quorin icon, drawn
// at title bar and launcher sizes, and names the installed launcher.
//
// The checks run inside the real start-up: main() is the tool's, and once
// its event loop runs the test slots execute and their result ends the loop.

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <cstdlib>

#include "app/Startup.h"
#include "ui/main/MainWindow.h"

namespace {

// The main window start-up made; the test runs inside that start-up.
MainWindow& StartedMainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<MainWindow*>(widget)) return *window;
    }
    qFatal("start-up made no main window");
    std::abort();
}

}  // namespace

class WindowIconTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindowHasTheIcon();
    void iconIsDrawnAtEverySize_data();
    void iconIsDrawnAtEverySize();
    void launcherIsNamed();
};

void WindowIconTest::mainWindowHasTheIcon() {
    QVERIFY(!QApplication::windowIcon().isNull());
    QVERIFY(StartedMainWindow().isVisible());
    QVERIFY(!StartedMainWindow().windowIcon().isNull());
}

void WindowIconTest::iconIsDrawnAtEverySize_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 24, 32, 48, 64, 128, 256}) QTest::addRow("%d px", size) << size;
}

// A missing SVG plugin or a broken drawing gives a null or empty pixmap;
// the map sheet fills most of the square and the red marker sits mid-way.
void WindowIconTest::iconIsDrawnAtEverySize() {
    QFETCH(int, size);
    const QPixmap pixmap = StartedMainWindow().windowIcon().pixmap(QSize(size, size));
    QVERIFY2(!pixmap.isNull(), "the icon cannot be drawn: is Qt's SVG image plugin installed?");
    QCOMPARE(pixmap.size(), QSize(size, size));
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int covered = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) covered += qAlpha(image.pixel(x, y)) >= 128;
    QVERIFY2(covered > size * size * 2 / 5, qPrintable(QStringLiteral("%1 pixels covered").arg(covered)));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    const QColor middle = image.pixelColor(size / 2, size / 2);
    QVERIFY2(middle.red() > 150 && middle.blue() < 100, qPrintable(middle.name()));
}

void WindowIconTest::launcherIsNamed() {
    QCOMPARE(QApplication::desktopFileName(), QFileInfo(QStringLiteral(QUORIN_DESKTOP_PATH)).completeBaseName());
}

static void TestOnceStarted() {
    QMetaObject::invokeMethod(
        qApp,
        [] {
            WindowIconTest test;
            QApplication::exit(QTest::qExec(&test));
        },
        Qt::QueuedConnection);
}
Q_COREAPP_STARTUP_FUNCTION(TestOnceStarted)

int main(int argc, char** argv) {
    // QTest reads its own options; the tool would refuse them.
    char* toolArguments[] = {argv[0], nullptr};
    (void)argc;
    return quorin::app::RunQuorin(1, toolArguments);
}

#include "window_icon_test.moc"
