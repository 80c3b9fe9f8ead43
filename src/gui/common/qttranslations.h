#pragma once

class QCoreApplication;

namespace kalvado {

// Qt's own texts (context menus, file dialogs, standard buttons) in
// Bulgarian, like the program's, whatever the system's locale. Installs
// Qt's catalogue on the application once; false when it is not there, and
// Qt then speaks English.
bool LoadQtTranslations(QCoreApplication &app);

} // namespace kalvado
