#pragma once

#include <QString>

namespace kalvado {

class SettingsStore;

// Where a file dialog opens: the folder the user last chose in one (kept in
// the settings), else Documents when it exists, else the home folder; never
// the program's working folder.
QString StartFolder(const SettingsStore &settings);
// Keeps the folder of a file the user chose, for the next dialog.
void RememberFolder(SettingsStore &settings, const QString &chosenPath);

} // namespace kalvado
