// Stored and typed texts are shown as written, never read as markup.
#include "gui/common/windows.h"
#include "gui/finance/financewindow.h"
#include "support/testenv.h"

#include <QLabel>
#include <QTest>

#include <memory>

using namespace kalvado;

Q_DECLARE_METATYPE(WindowId)

class TestPlainText final : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestEnv> m_env;

private slots:
    void init() {
        m_env = std::make_unique<test::TestEnv>();
        // Markup wherever a stored text can come from: settings, archive, club table.
        m_env->settings->WriteSetting(QStringLiteral("fin"), QStringLiteral("t"), QStringLiteral("<b>5</b>"));
        m_env->settings->WriteSetting(QStringLiteral("pic"), QStringLiteral("L"),
                                      QStringLiteral("<i>Следвай</i>"));
        m_env->exec(QStringLiteral("INSERT INTO KD (Nom, Dom, Gost, proD, proG, resD, resG) "
                                   "VALUES (1, '<b>Левски</b>', '<i>ЦСКА</i>', '2', '1', '<u>2</u>', '1')"));
        m_env->exec(
            QStringLiteral("INSERT INTO Tims (Tim, Date, v1, p1) VALUES ('<b>Клуб</b>', '2024-01-01', "
                           "'<i>3</i>', '1')"));
    }
    void cleanup() { m_env.reset(); }

    void everyLabelIsPlainText_data() {
        QTest::addColumn<WindowId>("id");
        QTest::newRow("frmSplash") << WindowId::Splash;
        QTest::newRow("frmKalv") << WindowId::Kalv;
        QTest::newRow("frmPro") << WindowId::Pro;
        QTest::newRow("frmTims") << WindowId::Tims;
        QTest::newRow("frmNew") << WindowId::New;
        QTest::newRow("frmData") << WindowId::Data;
        QTest::newRow("frmStat") << WindowId::Stat;
        QTest::newRow("frmFinans") << WindowId::Finans;
        QTest::newRow("frmOpt") << WindowId::Opt;
        QTest::newRow("frmForAs") << WindowId::ForAs;
    }
    void everyLabelIsPlainText() {
        QFETCH(WindowId, id);
        QWidget *window = m_env->windows.load(id);
        QVERIFY(window);
        const QList<QLabel *> labels = window->findChildren<QLabel *>();
        QVERIFY(!labels.isEmpty());
        for (const QLabel *label : labels)
            QVERIFY2(label->textFormat() == Qt::PlainText,
                     qPrintable(label->objectName() + QStringLiteral(": ") + label->text()));
    }

    // The total as the settings file holds it, tags and all.
    void financeTotalShownAsWritten() {
        auto *w = m_env->windows.get<FinanceWindow>(WindowId::Finans);
        QCOMPARE(w->lblT->text(), QStringLiteral("<b>5</b>"));
        QCOMPARE(w->lblT->textFormat(), Qt::PlainText);
    }
};

QTEST_MAIN(TestPlainText)
#include "tst_plaintext.moc"
