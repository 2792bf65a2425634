#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The artwork of the skin modules, drawn in code so that it builds from source.
namespace skinart {

enum class Module { Korean, Japanese, English };

QString moduleName(Module module);

// Every bitmap ID and icon ID a module holds.
QList<int> bitmapIds();
QList<int> iconIds();

// The image of an ID in a module; magenta marks the transparent parts of bitmaps.
QImage draw(int id, Module module);

} // namespace skinart
