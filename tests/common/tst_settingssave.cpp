// A settings save that cannot reach its file tells the user at once.
#include "gui/finance/financewindow.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/optionswindow.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace kalvado;

namespace {

enum class Save { FinanceClosed, OptionsOk, MainExit, MainClosed };

} // namespace

Q_DECLARE_METATYPE(Save)

class TestSettingsSave final : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestEnv> m_env;
    QString m_folder; // of the settings file

    void save(Save which) {
        switch (which) {
        case Save::FinanceClosed:
            m_env->windows.get<FinanceWindow>(WindowId::Finans)->close();
            break;
        case Save::OptionsOk:
            m_env->windows.get<OptionsWindow>(WindowId::Opt)->cmdOK->click();
            break;
        case Save::MainExit:
            m_env->windows.get<MainWindow>(WindowId::Kalv)->cmdExit->click();
            break;
        case Save::MainClosed:
            m_env->windows.get<MainWindow>(WindowId::Kalv)->close();
            break;
        }
    }

private slots:
    void init() {
        m_env = std::make_unique<test::TestEnv>();
        // The settings file in a folder of its own, which the test can turn
        // into a plain file: then nothing, not even root, can write there.
        m_folder = m_env->dir.filePath(QStringLiteral("conf"));
        QVERIFY(QDir().mkpath(m_folder));
        m_env->settings = std::make_unique<SettingsStore>(m_folder + QStringLiteral("/Kalvado2.ini"));
        m_env->ctx.settings = m_env->settings.get();
    }
    void cleanup() { m_env.reset(); }

    void failedSaveIsTold_data() {
        QTest::addColumn<Save>("which");
        QTest::addColumn<QString>("lost");
        QTest::newRow("finance totals") << Save::FinanceClosed << "сумите на финансовия анализ";
        QTest::newRow("six-match option") << Save::OptionsOk << "опцията за шест мача";
        QTest::newRow("main window, Изход")
            << Save::MainExit << "изборът на картинка и последните 5 прогнози";
        QTest::newRow("main window closed")
            << Save::MainClosed << "изборът на картинка и последните 5 прогнози";
    }
    void failedSaveIsTold() {
        QFETCH(Save, which);
        QFETCH(QString, lost);
        save(which);
        QVERIFY(m_env->messages.shown().isEmpty()); // a save that works says nothing

        QVERIFY(QDir(m_folder).removeRecursively());
        QFile blocker(m_folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_env->windows.destroyAll(); // fresh windows save again
        save(which);
        QCOMPARE(m_env->messages.shown().size(), 1);
        const MessageBoxes::Shown box = m_env->messages.shown().first();
        QCOMPARE(box.title, QStringLiteral("Kalvado"));
        QCOMPARE(box.icon, MessageBoxes::Icon::Critical);
        QCOMPARE(box.buttons, MessageBoxes::Buttons::Ok);
        QVERIFY2(box.text.contains(m_env->settings->fileName()), qPrintable(box.text));
        QVERIFY2(box.text.contains(lost), qPrintable(box.text));
        QVERIFY(box.text.startsWith(QStringLiteral("Файлът с настройките не може да бъде записан")));

        // Destroying the windows after a told failure tells nothing more.
        m_env->windows.destroyAll();
        QCOMPARE(m_env->messages.shown().size(), 1);
    }
};

QTEST_MAIN(TestSettingsSave)
#include "tst_settingssave.moc"
