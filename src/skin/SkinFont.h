#pragma once

#include <QFont>

// The design gives its fonts as a cell height ("Arial, 17 pixels high": ascent plus descent), not an em
// size. This is the Arial (or its metric twin) whose line height is that many pixels, so texts take the
// room the layouts were made for.
QFont SkinFont(int cellHeight, bool bold = false);
