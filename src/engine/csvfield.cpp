#include "engine/csvfield.h"

namespace kalvado {

QString CsvField(const QString &text) {
    for (const QChar c : text) {
        if (c == u';' || c == u'"' || c == u'\n' || c == u'\r') {
            QString quoted = text;
            quoted.replace(u'"', QStringLiteral("\"\""));
            return u'"' + quoted + u'"';
        }
    }
    return text;
}

} // namespace kalvado
