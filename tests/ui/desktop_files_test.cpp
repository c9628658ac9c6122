// SPDX-License-Identifier: GPL-3.0-or-later
// The installed file type and launcher agree with the open dialog and with
// the maps the tool writes.

#include <QFile>
#include <QTest>
#include <QXmlStreamReader>

#include "ui/shell/Dialogs.h"
#include "builder/DemoMap.h"

class DesktopFilesTest : public QObject {
    Q_OBJECT

private slots:
    void mimeTypeMatchesTheOpenDialog();
    void launcherOpensTheType();
};

void DesktopFilesTest::mimeTypeMatchesTheOpenDialog() {
    QFile file(QStringLiteral(QUORIN_MIME_XML_PATH));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString type, comment, glob, magicOffset, magicValue;
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("mime-type")) type = xml.attributes().value("type").toString();
        if (xml.name() == QLatin1String("comment")) comment = xml.readElementText();
        if (xml.name() == QLatin1String("glob")) glob = xml.attributes().value("pattern").toString();
        if (xml.name() == QLatin1String("match")) {
            magicOffset = xml.attributes().value("offset").toString();
            magicValue = xml.attributes().value("value").toString();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(type, QStringLiteral(QUORIN_MAP_MIME_TYPE));
    QCOMPARE(comment, QString::fromLatin1(quorin::ui::kMapTypeName));
    QCOMPARE(glob, QStringLiteral("*.") + QLatin1String(quorin::ui::kMapExtension));
    QVERIFY2(quorin::ui::MapFileFilter().contains(QStringLiteral("(") + glob + QStringLiteral(")")),
             qPrintable(quorin::ui::MapFileFilter()));
    // The magic rule recognises the maps the tool itself writes.
    QCOMPARE(magicOffset, QStringLiteral("0"));
    const auto demo = quorin::DemoMap().build();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(demo.data()), 4), magicValue.toLatin1());
}

void DesktopFilesTest::launcherOpensTheType() {
    QFile file(QStringLiteral(QUORIN_DESKTOP_PATH));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), QStringLiteral("[Desktop Entry]"));
    QVERIFY(lines.contains(QStringLiteral("MimeType=%1;").arg(QStringLiteral(QUORIN_MAP_MIME_TYPE))));
    QVERIFY(lines.contains(QStringLiteral("Exec=quorin %f")));
    QVERIFY(lines.contains(QStringLiteral("Type=Application")));
}

QTEST_MAIN(DesktopFilesTest)
#include "desktop_files_test.moc"
