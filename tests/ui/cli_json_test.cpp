// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli --json: each document parses as JSON and says exactly what the
// plain output of the same map says, also where forged names make the plain
// lines ambiguous.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include "builder/DemoMap.h"
#include "base/TextFormat.h"
#include "support/TempMap.h"

using namespace quorin;

namespace {

struct Output {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Output RunCli(const QStringList& arguments) {
    QProcess cli;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.remove(QStringLiteral("QUORIN_MAP_NAMES"));
    cli.setProcessEnvironment(variables);
    cli.start(QStringLiteral(QUORIN_CLI_PATH), arguments);
    if (!cli.waitForFinished(30000)) return {};
    return {cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}

// The demo map with names and a command text that forge plain lines, a
// terminal escape, and Latin-1 bytes above 127 (0x9B is a C1 control).
MapBuilder ForgedMap() {
    MapBuilder map = DemoMap();
    map.scripts[0].Name = "x\ns: forged";
    map.scripts[1].Name = "caf\xE9\x9B";
    map.globals[0].Name = "a\"b\\c\x1b[31m";
    for (Syntax& node : map.nodes) {
        if (node.ExpType == 9 && node.ValueType == 2) {
            node.Command = "say\")\n) = 1";
            break;
        }
    }
    return map;
}

QByteArray Latin1(const QJsonValue& value) { return value.toString().toLatin1(); }

}  // namespace

class CliJsonTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void documentsSayWhatThePlainOutputSays_data();
    void documentsSayWhatThePlainOutputSays();
    void findDocumentHoldsThePlainHits_data();
    void findDocumentHoldsThePlainHits();
    void refusedMapPrintsNoDocument();

private:
    testing::TempDir dir_;
    QString demo_;
    QString forged_;
};

void CliJsonTest::initTestCase() {
    demo_ = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "demo.map"));
    forged_ = QString::fromStdString(testing::WriteMap(dir_, ForgedMap(), "forged.map"));
}

void CliJsonTest::documentsSayWhatThePlainOutputSays_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("map");
    for (const char* command : {"info", "list", "database"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 demo").arg(command))) << command << demo_;
        QTest::newRow(qPrintable(QStringLiteral("%1 forged").arg(command))) << command << forged_;
    }
}

void CliJsonTest::documentsSayWhatThePlainOutputSays() {
    QFETCH(QString, command);
    QFETCH(QString, map);
    const Output plain = RunCli({command, map});
    const Output json = RunCli({QStringLiteral("--json"), command, map});
    QCOMPARE(plain.exitCode, 0);
    QCOMPARE(json.exitCode, 0);
    // Messages are the plain run's, up to the time taken.
    QCOMPARE(json.err.left(json.err.indexOf("This took")), plain.err.left(plain.err.indexOf("This took")));

    // One document on one line, UTF-8, and no raw control byte in it.
    QVERIFY(json.out.endsWith('\n'));
    QCOMPARE(json.out.count('\n'), 1);
    for (const char byte : json.out.chopped(1)) QVERIFY2(static_cast<unsigned char>(byte) >= 0x20, json.out.constData());
    QCOMPARE(QString::fromUtf8(json.out).toUtf8(), json.out);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.out, &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QVERIFY(document.isObject());
    const QJsonObject root = document.object();

    // The plain output rebuilt from the document, byte for byte.
    QByteArray rebuilt;
    if (command == QLatin1String("info")) {
        QCOMPARE(root.size(), plain.out.count('\n'));
        for (const QByteArray& line : plain.out.split('\n')) {
            if (line.isEmpty()) continue;
            const QByteArray label = line.left(line.indexOf(": "));
            const QJsonValue value = root.value(QString::fromLatin1(label));
            QVERIFY2(!value.isUndefined(), label.constData());
            rebuilt += label + ": ";
            if (value.isString()) {
                rebuilt += Latin1(value);
            } else if (line.contains(": 0x")) {
                rebuilt += "0x" + QByteArray::number(value.toInteger(), 16).toUpper();
            } else {
                rebuilt += QByteArray::number(value.toInteger());
            }
            rebuilt += '\n';
        }
    } else if (command == QLatin1String("list")) {
        QCOMPARE(root.keys(), (QStringList{"globals", "scripts"}));
        for (const QJsonValue name : root.value(QStringLiteral("scripts")).toArray()) rebuilt += "s: " + Latin1(name) + '\n';
        for (const QJsonValue name : root.value(QStringLiteral("globals")).toArray()) rebuilt += "g: " + Latin1(name) + '\n';
    } else {
        for (const QJsonValue entry : root.value(QStringLiteral("commands")).toArray()) {
            const QJsonObject command = entry.toObject();
            rebuilt += "CommandDictionary.value(\"" + Latin1(command.value(QStringLiteral("name"))) +
                       "\") = " + QByteArray::number(command.value(QStringLiteral("engine identity")).toInteger()) +
                       '\n';
        }
    }
    QCOMPARE(rebuilt, plain.out);

    // The forged names come through whole, one string each.
    if (map == forged_ && command == QLatin1String("list")) {
        const QJsonArray scripts = root.value(QStringLiteral("scripts")).toArray();
        QCOMPARE(scripts.size(), qsizetype(DemoMap().scripts.size()));
        QCOMPARE(scripts.at(0).toString(), QStringLiteral("x\ns: forged"));
        QCOMPARE(scripts.at(1).toString(), QStringLiteral("caf\u00E9\u009B"));
        QCOMPARE(root.value(QStringLiteral("globals")).toArray().at(0).toString(), QStringLiteral("a\"b\\c\u001B[31m"));
    }
}

// The plain find line's field escaping, for rebuilding lines from a document.
QByteArray Field(const QJsonValue& value) {
    QByteArray field;
    for (const char byte : Latin1(value)) {
        switch (byte) {
            case '\\': field += "\\\\"; break;
            case '\t': field += "\\t"; break;
            case '\n': field += "\\n"; break;
            case '\r': field += "\\r"; break;
            default: field += byte;
        }
    }
    return field;
}

void CliJsonTest::findDocumentHoldsThePlainHits_data() {
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("names and uses") << demo_ << "VAULT" << 0;
    QTest::newRow("forged lines") << forged_ << "s" << 0;
    QTest::newRow("nothing found") << demo_ << "no_such_text" << 1;
}

void CliJsonTest::findDocumentHoldsThePlainHits() {
    QFETCH(QString, map);
    QFETCH(QString, query);
    QFETCH(int, exitCode);
    const Output plain = RunCli({QStringLiteral("find"), map, query});
    const Output json = RunCli({QStringLiteral("--json"), QStringLiteral("find"), map, query});
    QCOMPARE(plain.exitCode, exitCode);
    QCOMPARE(json.exitCode, exitCode);
    QCOMPARE(json.err, plain.err);
    QCOMPARE(json.out.count('\n'), 1);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json.out, &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QCOMPARE(root.value(QStringLiteral("complete")).toBool(), true);
    QByteArray rebuilt;
    for (const QJsonValue entry : root.value(QStringLiteral("hits")).toArray()) {
        const QJsonObject hit = entry.toObject();
        const QByteArray kind = Latin1(hit.value(QStringLiteral("kind")));
        if (kind == "u") {
            QCOMPARE(hit.keys(), (QStringList{"command", "identity", "kind", "script"}));
            rebuilt += "u\t" + Field(hit.value(QStringLiteral("script"))) + '\t' +
                       QByteArray::number(hit.value(QStringLiteral("identity")).toInteger()) + '\t' +
                       Field(hit.value(QStringLiteral("command"))) + '\n';
        } else {
            QVERIFY(kind == "s" || kind == "g");
            QCOMPARE(hit.keys(), (QStringList{"kind", "name"}));
            rebuilt += kind + '\t' + Field(hit.value(QStringLiteral("name"))) + '\n';
        }
    }
    QCOMPARE(rebuilt, plain.out);
}

void CliJsonTest::refusedMapPrintsNoDocument() {
    const QString junk = QString::fromStdString(dir_.path("junk.map"));
    testing::WriteBytes(junk.toStdString(), std::vector<std::uint8_t>(64, 0x41));
    for (const char* command : {"info", "list", "database"}) {
        const Output run = RunCli({QStringLiteral("--json"), command, junk});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QByteArray());
        QVERIFY(!run.err.isEmpty());
    }
}

QTEST_MAIN(CliJsonTest)
#include "cli_json_test.moc"
