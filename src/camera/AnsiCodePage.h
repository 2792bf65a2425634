#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

// The camera stores its texts (Wi-Fi name and password, FTP account) as single- or double-byte text in the
// code page of the PC that wrote them, as Windows' ANSI code page: CP949 on a Korean system, CP932
// (Shift-JIS) on a Japanese one, windows-1252 on a Western one. Converting through the same code page makes a
// network name written by a Korean camera read as the camera wrote it.
namespace ansicodepage {

// The code page a system with this locale uses for single-byte ("ANSI") text, as a converter name.
QString forLocale(const QLocale& locale);

// The code page of the system's locale.
QString system();

// The text of bytes in that code page; bytes that do not decode become U+FFFD.
QString decode(const QByteArray& bytes, const QString& codePage);

// The bytes of a text in that code page. A character the code page lacks becomes "?", as Windows writes it.
// At most maxBytes bytes, never ending inside a double-byte character (a negative limit means none).
QByteArray encode(const QString& text, const QString& codePage, int maxBytes = -1);

} // namespace ansicodepage
