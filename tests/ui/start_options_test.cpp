// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop tool's command line: stock map names from --map-names or
// QUORIN_MAP_NAMES (exactly eleven), an optional map opened at start; a
// names file that cannot be used is shown in a box at start.

#include <QProcess>
#include <QTest>
#include <fstream>

#include "app/StartOptions.h"
#include "app/Startup.h"
#include "map/MapNames.h"
#include "support/TempMap.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;

class StartOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void parse_data();
    void parse();
    void namesProblemIsShownInABox_data();
    void namesProblemIsShownInABox();
    void usageErrorEndsWithUsage();

private:
    std::string namesFile(const char* name, int count, const char* first = "own_level");

    testing::TempDir dir_;
    std::string eleven_;
    std::string ten_;
};

std::string StartOptionsTest::namesFile(const char* name, int count, const char* first) {
    const std::string path = dir_.path(name);
    std::ofstream out(path);
    for (int i = 0; i < count; ++i) out << (i == 0 ? first : "level_" + std::to_string(i)) << '\n';
    return path;
}

void StartOptionsTest::initTestCase() {
    eleven_ = namesFile("eleven.txt", 11);
    ten_ = namesFile("ten.txt", 10);
}

void StartOptionsTest::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("environment");  // QUORIN_MAP_NAMES, empty for unset
    QTest::addColumn<bool>("ok");              // false: a usage error
    QTest::addColumn<bool>("namesProblem");    // the names file cannot be used
    QTest::addColumn<QString>("map");          // empty: none
    QTest::addColumn<QString>("firstName");    // first stock name in force
    const QString eleven = QString::fromStdString(eleven_);
    const QString ten = QString::fromStdString(ten_);
    const QString builtIn = QString::fromStdString(BuiltInMapNames().front());
    QTest::newRow("nothing") << QStringList{} << "" << true << false << "" << builtIn;
    QTest::newRow("map") << QStringList{"a.map"} << "" << true << false << "a.map" << builtIn;
    QTest::newRow("read-only map") << QStringList{"--read-only", "a.map"} << "" << true << false << "a.map" << builtIn;
    QTest::newRow("read-only alone") << QStringList{"--read-only"} << "" << true << false << "" << builtIn;
    QTest::newRow("names file") << QStringList{"--map-names", eleven, "a.map"} << "" << true << false << "a.map"
                                << "own_level";
    QTest::newRow("names from environment") << QStringList{} << eleven << true << false << "" << "own_level";
    QTest::newRow("option beats environment") << QStringList{"--map-names", eleven} << ten << true << false << ""
                                              << "own_level";
    QTest::newRow("map after end of options") << QStringList{"--", "-a.map"} << "" << true << false << "-a.map"
                                              << builtIn;
    QTest::newRow("help reads no names") << QStringList{"--help"} << ten << true << false << "" << "";
    QTest::newRow("ten names") << QStringList{"--map-names", ten} << "" << true << true << "" << "";
    QTest::newRow("ten names from environment") << QStringList{"a.map"} << ten << true << true << "a.map" << "";
    QTest::newRow("names file missing") << QStringList{"--map-names", "/nonexistent/names"} << "" << true << true
                                        << "" << "";
    QTest::newRow("option without file") << QStringList{"--map-names"} << "" << false << false << "" << "";
    QTest::newRow("two maps") << QStringList{"a.map", "b.map"} << "" << false << false << "" << "";
    QTest::newRow("option after map") << QStringList{"a.map", "--map-names", eleven} << "" << false << false << ""
                                      << "";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "" << false << false << "" << "";
}

void StartOptionsTest::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, environment);
    QFETCH(bool, ok);
    QFETCH(bool, namesProblem);
    QFETCH(QString, map);
    QFETCH(QString, firstName);
    std::vector<std::string> words;
    for (const QString& argument : arguments) words.push_back(argument.toStdString());
    const std::string fromEnvironment = environment.toStdString();
    auto options = app::ParseStartOptions(words, environment.isEmpty() ? nullptr : fromEnvironment.c_str());
    QCOMPARE(options.ok(), ok);
    if (!ok) {
        QVERIFY(!MessageOf(options.error()).empty());
        return;
    }
    QCOMPARE(QString::fromStdString(options->mapPath.value_or("")), map);
    QCOMPARE(options->namesProblem.has_value(), namesProblem);
    if (namesProblem || options->help) {
        QVERIFY(options->mapNames.empty());
        return;
    }
    QCOMPARE(options->mapNames.size(), std::size_t{11});
    QCOMPARE(QString::fromStdString(options->mapNames.front()), firstName);
    QCOMPARE(options->readOnly, arguments.contains(QStringLiteral("--read-only")));
}

void StartOptionsTest::namesProblemIsShownInABox_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("says");
    const QString blank = QString::fromStdString(dir_.path("blank.txt"));
    {
        std::ofstream out(blank.toStdString());
        out << "one\n\ntwo\n";
    }
    QTest::newRow("option") << QStringList{"--map-names", QString::fromStdString(ten_)} << ""
                            << "exactly 11 names, one a line; it holds 10";
    QTest::newRow("environment") << QStringList{} << QString::fromStdString(ten_) << "ten.txt";
    QTest::newRow("blank line") << QStringList{"--map-names", blank} << "" << "blank.txt\", line 2: the line is blank";
    QTest::newRow("device") << QStringList{"--map-names", "/dev/zero"} << "" << "is not a regular file";
}

void StartOptionsTest::namesProblemIsShownInABox() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, environment);
    QFETCH(QString, says);
    uitest::ScriptedDialogs dialogs;
    std::vector<std::string> words;
    for (const QString& argument : arguments) words.push_back(argument.toStdString());
    const std::string fromEnvironment = environment.toStdString();
    QCOMPARE(app::StartQuorin(words, environment.isEmpty() ? nullptr : fromEnvironment.c_str(), dialogs), 2);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages.front().contains(says), qPrintable(dialogs.messages.front()));
}

void StartOptionsTest::usageErrorEndsWithUsage() {
    QProcess quorin;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    variables.remove(QStringLiteral("QUORIN_MAP_NAMES"));
    quorin.setProcessEnvironment(variables);
    quorin.start(QStringLiteral(QUORIN_GUI_PATH), {QStringLiteral("a.map"), QStringLiteral("--frobnicate")});
    QVERIFY(quorin.waitForFinished(20000));
    QCOMPARE(quorin.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quorin.exitCode(), 2);
    const QString errors = QString::fromLocal8Bit(quorin.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("usage: quorin")), qPrintable(errors));
    QVERIFY2(errors.contains(QStringLiteral("--frobnicate")), qPrintable(errors));
}

QTEST_MAIN(StartOptionsTest)
#include "start_options_test.moc"
