// Every string id must have a text in every table: a missing one would show the bare id to the user.
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const char* const kTables[] = {"ko", "en", "en_AU", "ja"};

// A table is the shell's file plus one file per subsystem folder.
QStringList tablePaths(const char* table)
{
    const QDir root(QDir(qEnvironmentVariable("KORVANE_TEST_SOURCE_DIR")).filePath(QStringLiteral("resources/translations")));
    const QString name = QStringLiteral("korvane_%1.ts").arg(QLatin1String(table));
    QStringList paths{root.filePath(name)};
    for (const QString& sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (QFile::exists(root.filePath(sub + QLatin1Char('/') + name)))
            paths << root.filePath(sub + QLatin1Char('/') + name);
    return paths;
}

// id -> translation text, over every file of the table; an id defined twice is a fault (lrelease keeps one).
QMap<QString, QString> readTable(const char* table)
{
    QMap<QString, QString> texts;
    for (const QString& path : tablePaths(table)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read " << path.toStdString();
            continue;
        }
        QXmlStreamReader xml(&file);
        QString id;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("message")) {
                id = xml.attributes().value(QLatin1String("id")).toString();
                EXPECT_FALSE(texts.contains(id)) << id.toStdString() << " is defined twice in table " << table;
            } else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
                const bool unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
                const QString text = xml.readElementText();
                if (!unfinished)
                    texts.insert(id, text);
            }
        }
        EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    }
    return texts;
}

TEST(StringTables, EveryIdHasATextInEveryTable)
{
    QMap<QString, QMap<QString, QString>> tables;
    QSet<QString> allIds;
    for (const char* table : kTables) {
        tables[table] = readTable(table);
        ASSERT_FALSE(tables[table].isEmpty()) << table;
        for (const QString& id : tables[table].keys())
            allIds.insert(id);
    }
    for (const QString& id : allIds) {
        for (const char* table : kTables) {
            EXPECT_TRUE(tables[table].contains(id)) << id.toStdString() << " has no text in " << table;
            // The Korean and Japanese tables never fall back to English placeholders; a single space is a
            // real (blank) text in the English tables.
            if (tables[table].contains(id)) {
                EXPECT_FALSE(tables[table][id].isEmpty()) << id.toStdString() << " is empty in " << table;
            }
        }
    }
}

} // namespace
