#pragma once

#include <QString>

namespace kalvado {

// Where the program keeps its database. A KD2.mdb beside the executable is
// used as it is (a build folder, a copy on a USB stick). Otherwise the file
// lives in the user's data folder and is made there once, as a whole copy of
// the starter database the installation brings; an existing file there is
// never replaced, whatever it holds.
class DataLocation final {
public:
    DataLocation(const QString &programDir, const QString &shareDir, const QString &userDataDir);
    DataLocation(const DataLocation &) = default;
    DataLocation &operator=(const DataLocation &) = default;

    // True when the database beside the executable is used.
    bool isPortable() const { return m_portable; }
    // The file the program opens (it may be missing when errorMessage() says why).
    QString databasePath() const { return m_databasePath; }
    // Empty when nothing went wrong; otherwise one Bulgarian message naming the path.
    QString errorMessage() const { return m_error; }

    // The help page beside the executable, else the installed one; empty when neither exists.
    static QString HelpPage(const QString &programDir, const QString &shareDir);

private:
    QString makeFromStarter(const QString &starter, const QString &folder);

    bool m_portable = false;
    QString m_databasePath;
    QString m_error;
};

} // namespace kalvado
