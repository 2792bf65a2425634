#include "app/StringTables.h"

#include <QCoreApplication>
#include <QTranslator>

bool InstallStringTable(QCoreApplication& app, const QString& table)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/i18n/korvane_%1.qm").arg(table))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}

QString StringById(int id)
{
    const QByteArray key = "str_" + QByteArray::number(id);
    return qtTrId(key.constData());
}
