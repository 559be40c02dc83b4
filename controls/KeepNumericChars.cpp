#include "controls/KeepNumericChars.h"

namespace sonoria {

QString KeepNumericChars(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // ASCII digits only: other scripts' digits are not part of a value text.
        if ((u >= u'0' && u <= u'9') || u == u'-' || u == u'+' || u == u'.') kept.append(c);
    }
    return kept;
}

}  // namespace sonoria
