#pragma once

#include <QString>

namespace kalvado {

// A field of the program's CSV files as written: in double quotes, inner
// quotes doubled, when it holds ";", a quote or a line break.
QString CsvField(const QString &text);

} // namespace kalvado
