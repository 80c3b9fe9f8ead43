#pragma once

class QString;
class QWidget;

namespace kalvado {

struct AppContext;

// Writes the pending settings to their file. When the file cannot be
// written, says so at once in one message over `parent`, naming the file and
// `what` was not kept. True when everything reached the file (or there is no
// settings store).
bool SaveSettings(AppContext &ctx, QWidget *parent, const QString &what);

} // namespace kalvado
