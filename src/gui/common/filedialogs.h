#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace kalvado {

class SettingsStore;

// Where a file dialog opens: the folder the user last chose in one (kept in
// the settings), else Documents when it exists, else the home folder; never
// the program's working folder.
QString StartFolder(const SettingsStore &settings);
// Keeps the folder of a file the user chose, for the next dialog.
void RememberFolder(SettingsStore &settings, const QString &chosenPath);

// A file dialog's own labels in Bulgarian, with `accept` on its button, and
// its start folder.
void PrepareFileDialog(QFileDialog &dialog, const SettingsStore *settings, const QString &accept);

// "Експорт в CSV": the file a CSV export is to be written to, `suggested`
// offered as its name; empty when the user cancels. Replacing a file is left
// to the caller to ask.
QString AskCsvExportPath(QWidget *parent, const SettingsStore *settings, const QString &suggested);

} // namespace kalvado
