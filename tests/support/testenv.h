#pragma once

#include "gui/common/appcontext.h"
#include "gui/common/messageboxes.h"
#include "gui/common/windows.h"
#include "storage/database.h"
#include "storage/settingsstore.h"

#include <QTemporaryDir>

#include <memory>

class QWidget;

namespace kalvado {
class PrognosisForm;
}

class QProcess;

namespace kalvado::test {

// A fresh program environment for one test: a private copy of the starter
// KD2.mdb, an empty settings file, scripted message boxes and a window
// registry that knows every window.
class TestEnv final {
public:
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv &) = delete;
    TestEnv &operator=(const TestEnv &) = delete;

    AppContext ctx;
    QTemporaryDir dir;
    std::unique_ptr<Database> database;
    std::unique_ptr<SettingsStore> settings;
    MessageBoxes messages;
    Windows windows;
    bool quitCalled = false;

    QString dbPath() const;
    QString settingsPath() const;
    // Runs SQL directly on the test database (setting up rows).
    void exec(const QString &sql);
    // Removes every row of a table.
    void clearTable(const QString &table);
    // Reopens the settings file, as a restart would.
    void reopenSettings();

    // Makes the database refuse writes until allowWrites(): "locked" (another
    // connection holds BEGIN EXCLUSIVE; each access then waits for the busy
    // timeout), "read-only" (reopened with mode=ro: only before any window
    // has opened a cursor, and for good) or SQL that makes it refuse, such as
    // a trigger named "refuse".
    void refuseWrites(const QString &cause);
    void allowWrites();

private:
    QString m_lockConnection;
};

// Types text into a widget one character at a time, as a user would
// (Cyrillic included), through the widget's event filters.
void TypeText(QWidget *widget, const QString &text);

// The prognosis form with its free-running timers stopped, so that a test
// drives every tick by hand.
PrognosisForm *HandDrivenPrognosisForm(TestEnv &env);

// File permissions do not bind root. A test that needs them calls this
// first: as root it runs the current test function (and data row) again in a
// child process as the user nobody, checks that the child passed, and
// returns true, so the caller returns at once; otherwise it returns false and
// the caller goes on itself.
bool RanAsNobody();

// Starts this test executable again in `child` as the user nobody, from a copy
// in `folder` (which that user may enter), with the given arguments. False,
// with the test failed, when it cannot.
bool StartAsNobody(QProcess &child, QTemporaryDir &folder, const QStringList &arguments);

// Ensures the compiled-in pictures are available.
void InitResources();

} // namespace kalvado::test
