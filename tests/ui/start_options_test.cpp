// The desktop tool's command line: stock map names from --map-names or
// QUORIN_MAP_NAMES (exactly eleven), an optional map opened at start.

#include <QProcess>
#include <QTest>
#include <fstream>

#include "app/StartOptions.h"
#include "map/MapNames.h"
#include "support/TempMap.h"

using namespace quorin;

class StartOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void parse_data();
    void parse();
    void badNamesFileEndsWithUsage_data();
    void badNamesFileEndsWithUsage();

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
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("map");          // empty: none
    QTest::addColumn<QString>("firstName");    // first stock name in force
    const QString eleven = QString::fromStdString(eleven_);
    const QString ten = QString::fromStdString(ten_);
    const QString builtIn = QString::fromStdString(BuiltInMapNames().front());
    QTest::newRow("nothing") << QStringList{} << "" << true << "" << builtIn;
    QTest::newRow("map") << QStringList{"a.map"} << "" << true << "a.map" << builtIn;
    QTest::newRow("read-only map") << QStringList{"--read-only", "a.map"} << "" << true << "a.map" << builtIn;
    QTest::newRow("read-only alone") << QStringList{"--read-only"} << "" << true << "" << builtIn;
    QTest::newRow("names file") << QStringList{"--map-names", eleven, "a.map"} << "" << true << "a.map" << "own_level";
    QTest::newRow("names from environment") << QStringList{} << eleven << true << "" << "own_level";
    QTest::newRow("option beats environment") << QStringList{"--map-names", eleven} << ten << true << "" << "own_level";
    QTest::newRow("ten names") << QStringList{"--map-names", ten} << "" << false << "" << "";
    QTest::newRow("ten names from environment") << QStringList{"a.map"} << ten << false << "" << "";
    QTest::newRow("names file missing") << QStringList{"--map-names", "/nonexistent/names"} << "" << false << "" << "";
    QTest::newRow("option without file") << QStringList{"--map-names"} << "" << false << "" << "";
    QTest::newRow("two maps") << QStringList{"a.map", "b.map"} << "" << false << "" << "";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "" << false << "" << "";
}

void StartOptionsTest::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, environment);
    QFETCH(bool, ok);
    QFETCH(QString, map);
    QFETCH(QString, firstName);
    std::vector<std::string> words;
    for (const QString& argument : arguments) words.push_back(argument.toStdString());
    const std::string fromEnvironment = environment.toStdString();
    auto options = app::ParseStartOptions(words, environment.isEmpty() ? nullptr : fromEnvironment.c_str());
    QCOMPARE(options.ok(), ok);
    if (!ok) {
        QVERIFY(!options.error().message.empty());
        return;
    }
    QCOMPARE(QString::fromStdString(options->mapPath.value_or("")), map);
    QCOMPARE(options->mapNames.size(), std::size_t{11});
    QCOMPARE(QString::fromStdString(options->mapNames.front()), firstName);
    QCOMPARE(options->readOnly, arguments.contains(QStringLiteral("--read-only")));
}

void StartOptionsTest::badNamesFileEndsWithUsage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("environment");
    QTest::newRow("option") << QStringList{"--map-names", QString::fromStdString(ten_)} << "";
    QTest::newRow("environment") << QStringList{} << QString::fromStdString(ten_);
}

void StartOptionsTest::badNamesFileEndsWithUsage() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, environment);
    QProcess quorin;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (environment.isEmpty()) {
        variables.remove(QStringLiteral("QUORIN_MAP_NAMES"));
    } else {
        variables.insert(QStringLiteral("QUORIN_MAP_NAMES"), environment);
    }
    quorin.setProcessEnvironment(variables);
    quorin.start(QStringLiteral(QUORIN_GUI_PATH), arguments);
    QVERIFY(quorin.waitForFinished(20000));
    QCOMPARE(quorin.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quorin.exitCode(), 2);
    const QString errors = QString::fromLocal8Bit(quorin.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("usage: quorin")), qPrintable(errors));
    QVERIFY2(errors.contains(QStringLiteral("ten.txt")), qPrintable(errors));  // names the bad file
}

QTEST_MAIN(StartOptionsTest)
#include "start_options_test.moc"
