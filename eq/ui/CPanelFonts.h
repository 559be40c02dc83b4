// The fonts the graph panels draw with, named by the faces their drawing
// code asks for; where a face is missing, a face of the same kind stands in.
#pragma once

#include <QFont>

namespace sonoria {

// `face` with an em size of `pixels`.
QFont PanelEmFont(const char* face, int pixels, QFont::Weight weight = QFont::Normal);

// `face` whose line (ascent plus descent) is `cellHeight` pixels, as a GDI
// font of that height is.
QFont PanelCellFont(const char* face, int cellHeight);

}  // namespace sonoria
