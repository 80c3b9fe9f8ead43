#pragma once

#include "engine/csvfield.h"

#include <QString>
#include <QStringList>

namespace kalvado {

// The whole archive as a CSV file for a spreadsheet in the Bulgarian locale:
// UTF-8 with a byte-order mark, ";" between fields, one line per row in
// stored order after a header line. Values go out as stored (odds with their
// decimal comma); the two signs are worked out from the goals.

QStringList CsvHeader();


// Writes the file whole or not at all (a temporary file renamed over the
// target at the end). Empty on success, otherwise a message for the user.
QString ExportArchiveCsv(const QString &connection, const QString &path, int *rowsWritten = nullptr);

} // namespace kalvado
