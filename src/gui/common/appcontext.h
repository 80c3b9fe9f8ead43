#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace kalvado {

class SettingsStore;
class Windows;
class MessageBoxes;

// What every window receives instead of reaching for globals.
struct AppContext {
    QString programDir;     // KD2.mdb and help/ live here
    QString helpPage;       // the help page when it lives elsewhere (an installed program)
    QString connectionName; // the KD2.mdb connection (closed when the file was unusable)
    SettingsStore *settings = nullptr;
    Windows *windows = nullptr;
    MessageBoxes *messages = nullptr;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // Ends the whole program at once (the main window's "Изход").
    std::function<void()> quit;
};

} // namespace kalvado
