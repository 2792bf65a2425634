#pragma once

#include <QString>

class QCoreApplication;

// Installs the string table ("ko", "en", "en_AU", "ja") that qtTrId looks its ids up in. The tables are
// compiled into the viewer as ":/i18n/korvane_<table>.qm".
bool InstallStringTable(QCoreApplication& app, const QString& table);

// The string of an id in the installed table, e.g. StringById(278) for "str_278".
QString StringById(int id);
