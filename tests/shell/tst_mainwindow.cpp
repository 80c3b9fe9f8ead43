#include "gui/history/historywindow.h"
#include "gui/shell/aboutbox.h"
#include "gui/shell/helpwindow.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/optionswindow.h"
#include "gui/shell/picturebox.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace kalvado;

namespace {
const QString kPic = QStringLiteral("pic");

// The layer the user sees in the middle of the picture area, by name, or
// "none" when no layer shows there.
QString SeenLayer(MainWindow *w) {
    const QWidget *top = w->childAt(w->picOrvel->geometry().center());
    for (const QWidget *layer : {w->picMarn, w->picAutor, w->picKelo, w->picOrvel})
        if (top == layer) return layer->objectName();
    return QStringLiteral("none");
}

QByteArray Contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString States(MainWindow *w) {
    QString s;
    for (const QWidget *layer : {w->picOrvel, w->picKelo, w->picAutor, w->picMarn})
        s += layer->isHidden() ? u'0' : u'1';
    return s;
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> m_env;

    MainWindow *window() { return m_env->windows.get<MainWindow>(WindowId::Kalv); }
    void write(const QString &key, const QString &value) { m_env->settings->WriteSetting(kPic, key, value); }
    QString stored(const QString &key) {
        return m_env->settings->ReadSetting(kPic, key, QStringLiteral("<none>"));
    }
    // As the next start would find it: a fresh window on the stored settings.
    MainWindow *restart() {
        delete m_env->windows.ifLoaded<MainWindow>(WindowId::Kalv);
        m_env->reopenSettings();
        return window();
    }
    void clickChoice(MainWindow *w, int button) {
        PictureBox *buttons[] = {w->picT1, w->picT2, w->picT3, w->picT4};
        buttons[button]->show();
        QTest::mouseClick(buttons[button], Qt::LeftButton);
    }

private slots:
    void init() { m_env = std::make_unique<test::TestEnv>(); }
    void cleanup() { m_env.reset(); }

    void firstRunShowsTheBasePictureWithAnEmptyCaption() {
        MainWindow *w = window();
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvado - Ruby"));
        QCOMPARE(States(w) + u' ' + SeenLayer(w), QStringLiteral("1000 picOrvel"));
        QCOMPARE(w->lblPic->text(), QString());
        QCOMPARE(w->panel()->lblMa4[0]->text(), QString());
        QVERIFY(!w->isVisible());
    }
    void buttonsOpenTheirWindowsWithoutBlocking() {
        MainWindow *w = window();
        w->show();
        w->cmdOpt->click();
        auto *options = m_env->windows.ifLoaded<OptionsWindow>(WindowId::Opt);
        QVERIFY(options && options->isVisible());
        w->cmdHelp->click();
        auto *about = m_env->windows.ifLoaded<AboutBox>(WindowId::ForAs);
        QVERIFY(about && about->isVisible());
        w->cmdHelp->click();
        QCOMPARE(m_env->windows.ifLoaded<AboutBox>(WindowId::ForAs), about);
        QVERIFY(w->isVisible());
        // The history button sits in free space: it covers no other control.
        for (const QWidget *other : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (other != w->cmdIstoria)
                QVERIFY2(!other->geometry().intersects(w->cmdIstoria->geometry()), qPrintable(other->objectName()));
        w->cmdIstoria->click();
        auto *history = m_env->windows.ifLoaded<HistoryWindow>(WindowId::Istoria);
        QVERIFY(history && history->isVisible());
    }

    // Layer states P1..P4 as 1/0, then the layer seen.
    void storedPictureChoiceIsApplied_data() {
        QTest::addColumn<QStringList>("p");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing stored") << QStringList{"", "", "", ""} << "1000 picOrvel";
        QTest::newRow("second") << QStringList{"True", "True", "False", "False"} << "1100 picKelo";
        QTest::newRow("third over second") << QStringList{"True", "True", "True", "False"} << "1110 picAutor";
        QTest::newRow("fourth") << QStringList{"True", "True", "True", "True"} << "1111 picMarn";
        QTest::newRow("fourth needs the third")
            << QStringList{"True", "True", "False", "True"} << "1101 picKelo";
        QTest::newRow("fourth alone shows the base") << QStringList{"", "", "", "True"} << "1001 picOrvel";
        QTest::newRow("P1 False hides everything")
            << QStringList{"False", "True", "True", "True"} << "0111 none";
        QTest::newRow("words in any case")
            << QStringList{"true", " TRUE ", "fAlSe", "false"} << "1100 picKelo";
        QTest::newRow("garbage is skipped") << QStringList{"0", "1", "-1", "Truee"} << "1000 picOrvel";
        QTest::newRow("garbage keeps the base")
            << QStringList{"Невярно", "yes", "", "N\\A"} << "1000 picOrvel";
    }
    void storedPictureChoiceIsApplied() {
        QFETCH(QStringList, p);
        QFETCH(QString, expected);
        for (int i = 0; i < 4; ++i)
            if (!p[i].isEmpty()) write(QStringLiteral("P%1").arg(i + 1), p[i]);
        MainWindow *w = window();
        QCOMPARE(States(w) + u' ' + SeenLayer(w), expected);
    }

    void garbageInEveryKeyStillOpensTheWindow() {
        const QString junk = QStringLiteral("=;[Last]\\x\"'%1");
        for (const char *key : {"P1", "P2", "P3", "P4", "L"})
            write(QLatin1String(key), junk.arg(QLatin1String(key)));
        for (const char *prefix : {"M", "K1", "KX", "K2", "PD", "PG"})
            for (int n = 0; n < 5; ++n)
                m_env->settings->WriteSetting(QStringLiteral("Last"),
                                              QLatin1String(prefix) + QString::number(n), junk.arg(n));
        m_env->reopenSettings();
        MainWindow *w = window();
        QCOMPARE(States(w), QStringLiteral("1000"));
        QCOMPARE(w->lblPic->text(), junk.arg(QStringLiteral("L")));
        QCOMPARE(w->panel()->lblRG[2]->text(), junk.arg(2));
        w->Timer1Tick();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    // Markup in a stored caption or cell is text like any other: the label
    // needs room for every character, not for what the markup would draw.
    void storedTextsShowAsWritten_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty bold") << "<b></b>";
        QTest::newRow("picture tag") << "<img src=\"x.png\">";
        QTest::newRow("entity") << "&amp;&lt;";
        QTest::newRow("heading") << "<h1>Левски</h1>";
    }
    void storedTextsShowAsWritten() {
        QFETCH(QString, text);
        write(QStringLiteral("L"), text);
        m_env->settings->WriteSetting(QStringLiteral("Last"), QStringLiteral("PD2"), text);
        MainWindow *w = window();
        for (QLabel *label : {w->panel()->lblRD[2], w->lblPic}) {
            QCOMPARE(label->text(), text);
            QVERIFY2(label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(text),
                     qPrintable(label->objectName()));
        }
    }

    // A hand-edited file whose values the ini format reads as other types.
    void handEditedValuesOfOtherTypesStillOpen() {
        m_env->settings->sync();
        QFile ini(m_env->settingsPath());
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[pic]\nP1=@Variant(\\0\\0\\0\\x7f\\0)\nP2=@Rect(1 2 3 4)\nP3=@ByteArray(True)\n"
                  "P4=True, False\nL=@Size(1 2)\n[Last]\nM4=@Invalid()\nPD4=@Point(1 2)\nPG4=3\n");
        ini.close();
        m_env->reopenSettings();
        MainWindow *w = window();
        QCOMPARE(States(w), QStringLiteral("1010"));
        w->Timer1Tick();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    void pictureButtonsChooseThePicture_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        const QString first = QStringLiteral("Непознал резултатите...");
        const QString second = MainWindow::secondCaption();
        const QString third = QStringLiteral("Ех да знаех резултата...");
        const QString fourth = QStringLiteral("Следвай...");
        QTest::newRow("first") << QList<int>{0} << first << "1000 picOrvel";
        QTest::newRow("second") << QList<int>{1} << second << "1100 picKelo";
        QTest::newRow("third") << QList<int>{2} << third << "1010 picAutor";
        QTest::newRow("third after second") << QList<int>{1, 2} << third << "1110 picAutor";
        QTest::newRow("fourth") << QList<int>{3} << fourth << "1111 picMarn";
        QTest::newRow("third after fourth") << QList<int>{3, 2} << third << "1110 picAutor";
        QTest::newRow("second after fourth") << QList<int>{3, 1} << second << "1100 picKelo";
        QTest::newRow("first after fourth") << QList<int>{3, 0} << first << "1000 picOrvel";
    }
    void pictureButtonsChooseThePicture() {
        QFETCH(QList<int>, clicks);
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        MainWindow *w = window();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        for (int button : clicks)
            clickChoice(w, button);
        QCOMPARE(w->lblPic->text(), caption);
        QCOMPARE(States(w) + u' ' + SeenLayer(w), expected);
    }

    void pointerShowsAndHidesTheChoiceButtons() {
        MainWindow *w = window();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QList<PictureBox *> thumbs{w->imgT1, w->imgT2, w->imgT3, w->imgT4};
        const QList<PictureBox *> buttons{w->picT1, w->picT2, w->picT3, w->picT4};
        for (PictureBox *b : buttons) {
            QVERIFY(b->isHidden());
            QCOMPARE(b->toolTip(), QStringLiteral("Смени картинката"));
            QVERIFY(b->geometry().contains(thumbs[buttons.indexOf(b)]->geometry()));
            QVERIFY(b->geometry() != thumbs[buttons.indexOf(b)]->geometry());
        }
        const QPoint background(w->width() - 4, 4);
        QVERIFY(w->childAt(background) == nullptr);

        QTest::mouseMove(w, background);
        QTest::mouseMove(thumbs[1], thumbs[1]->rect().center());
        QTRY_VERIFY(buttons[1]->isVisible());
        QVERIFY(buttons[0]->isHidden() && buttons[2]->isHidden());
        QTest::mouseMove(w, background);
        QTRY_VERIFY(buttons[1]->isHidden());

        QTest::mouseMove(thumbs[3], thumbs[3]->rect().center());
        QTRY_VERIFY(buttons[3]->isVisible());
        QTest::mouseMove(w->Image1, w->Image1->rect().center());
        QTRY_VERIFY(buttons[3]->isHidden());
    }

    void stadiumCyclesThroughSixFrames() {
        MainWindow *w = window();
        const QList<PictureBox *> frames{w->Image5, w->Image6, w->Image7, w->Image8, w->Image9, w->Image10};
        const auto visible = [&] {
            QList<int> v;
            for (int i = 0; i < frames.size(); ++i)
                if (!frames[i]->isHidden()) v << i;
            return v;
        };
        QCOMPARE(visible(), QList<int>{0});
        for (int step = 1; step <= 13; ++step) {
            w->tmrStadiumTick();
            QCOMPARE(visible(), QList<int>{step % 6});
        }
        for (const QRect r = frames[0]->geometry(); PictureBox * f : frames)
            QCOMPARE(f->geometry(), r);
    }

    void stadiumStandsStillWithoutASingleFrame_data() {
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("none") << QList<int>{};
        QTest::newRow("two") << QList<int>{2, 5};
        QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4, 5};
    }
    void stadiumStandsStillWithoutASingleFrame() {
        QFETCH(QList<int>, shown);
        MainWindow *w = window();
        const QList<PictureBox *> frames{w->Image5, w->Image6, w->Image7, w->Image8, w->Image9, w->Image10};
        for (int i = 0; i < 6; ++i)
            frames[i]->setVisible(shown.contains(i));
        w->tmrStadiumTick();
        for (int i = 0; i < 6; ++i)
            QCOMPARE(!frames[i]->isHidden(), shown.contains(i));
    }

    // The page beside the program, else the installed one, goes to the
    // desktop's launcher; where there is none, or it finds nothing to open
    // the page with, the program shows the page itself.
    void helpAlwaysShowsThePage_data() {
        QTest::addColumn<QString>("page"); // under the program's folder; empty: none there
        QTest::addColumn<bool>("installed");
        QTest::addColumn<int>("launcher"); // xdg-open's exit code; -1: no xdg-open
        QTest::newRow("missing") << "" << false << 0;
        QTest::newRow("missing, installed") << "" << true << 0;
        QTest::newRow("beside the program") << "help/KdHelp.html" << false << 0;
        QTest::newRow("installed") << "share/help/KdHelp.html" << true << 0;
        QTest::newRow("nothing to open it with") << "help/KdHelp.html" << false << 3;
        QTest::newRow("no launcher, installed") << "share/help/KdHelp.html" << true << -1;
    }
    void helpAlwaysShowsThePage() {
        QFETCH(QString, page);
        QFETCH(bool, installed);
        QFETCH(int, launcher);
        const QDir program(m_env->ctx.programDir);
        if (installed) m_env->ctx.helpPage = program.filePath(QStringLiteral("share/help/KdHelp.html"));
        const QString expected =
            installed ? m_env->ctx.helpPage : program.filePath(QStringLiteral("help/KdHelp.html"));
        if (!page.isEmpty()) {
            QVERIFY(program.mkpath(QFileInfo(program.filePath(page)).path()));
            QFile file(program.filePath(page));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<html><body><h1>Помощ</h1></body></html>");
        }
        // The only programs on the path: a launcher that notes what it was
        // given and ends as told.
        QTemporaryDir bin;
        const QString asked = bin.filePath(QStringLiteral("asked"));
        if (launcher >= 0) {
            QFile script(bin.filePath(QStringLiteral("xdg-open")));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\nexit %2\n")
                             .arg(asked)
                             .arg(launcher)
                             .toUtf8());
            script.setPermissions(script.permissions() | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const auto asks = [&] { return QString::fromUtf8(Contents(asked)).split(u'\n', Qt::SkipEmptyParts); };

        MainWindow *w = window();
        w->cmdHelpR->click();
        w->cmdHelpR->click();
        if (page.isEmpty()) {
            qputenv("PATH", path);
            QVERIFY(asks().isEmpty());
            QCOMPARE(m_env->messages.shown().size(), 2);
            QCOMPARE(m_env->messages.shown().first().text,
                     QStringLiteral("Страницата с помощта липсва:\n") + expected);
            QVERIFY(!w->helpWindow());
            return;
        }
        if (launcher >= 0) QTRY_COMPARE(asks(), QStringList(2, QUrl::fromLocalFile(expected).toString()));
        if (launcher != 0) QTRY_VERIFY(w->helpWindow());
        QTest::qWait(100); // a launcher's end comes through the event loop
        qputenv("PATH", path);
        QVERIFY(m_env->messages.shown().isEmpty());
        QCOMPARE(w->helpWindow() != nullptr, launcher != 0);
        if (launcher == 0) return;
        QCOMPARE(w->findChildren<HelpWindow *>().size(), 1); // one window, brought forward
        QVERIFY(w->helpWindow()->isVisible());
        QCOMPARE(w->helpWindow()->windowTitle(), QStringLiteral("Kalvado – Помощ"));
        QCOMPARE(w->helpWindow()->source(), QUrl::fromLocalFile(expected));
        QVERIFY(w->helpWindow()->toPlainText().contains(QStringLiteral("Помощ")));
    }

    // "Изход" stores the caption too; closing by the frame keeps the one stored before.
    void leavingSavesTheStateAndQuits_data() {
        QTest::addColumn<bool>("byFrame");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Изход") << false << "Следвай...";
        QTest::newRow("frame") << true << "старият надпис";
    }
    void leavingSavesTheStateAndQuits() {
        QFETCH(bool, byFrame);
        QFETCH(QString, caption);
        write(QStringLiteral("L"), QStringLiteral("старият надпис"));
        MainWindow *w = window();
        w->show();
        clickChoice(w, 1);
        clickChoice(w, 3);
        w->panel()->AddPrognosis(QStringLiteral("Левски"), QStringLiteral("ЦСКА"), false, {}, {}, {},
                                 QStringLiteral("2"), QStringLiteral("0"));
        if (byFrame)
            QVERIFY(w->close());
        else
            w->cmdExit->click();
        QVERIFY(m_env->quitCalled);

        m_env->reopenSettings();
        QStringList layers;
        for (const char *key : {"P1", "P2", "P3", "P4"})
            layers << stored(QLatin1String(key));
        QCOMPARE(layers, QStringList(4, QStringLiteral("True")));
        QCOMPARE(stored(QStringLiteral("L")), caption);
        QCOMPARE(m_env->settings->ReadSetting(QStringLiteral("Last"), QStringLiteral("K24")),
                 QStringLiteral("N\\A"));

        MainWindow *again = restart();
        QCOMPARE(SeenLayer(again), QStringLiteral("picMarn"));
        QCOMPARE(again->lblPic->text(), caption);
        QCOMPARE(again->panel()->lblMa4[4]->text(), QStringLiteral("Левски - ЦСКА"));
        QCOMPARE(again->panel()->lblRaven[4]->text(), QStringLiteral("N\\A"));
        QCOMPARE(again->panel()->lblMa4[3]->text(), QString());
    }

    void leavingSavesOnceAndQuitsOnce() {
        int quits = 0;
        MainWindow *w = window();
        // The real quit closes every window, the main window included.
        m_env->ctx.quit = [&quits, w] {
            ++quits;
            w->close();
        };
        w->show();
        w->cmdExit->click();
        QCOMPARE(quits, 1);
        QVERIFY(!w->isVisible());
        // Whatever comes after the save must not write over it.
        write(QStringLiteral("P1"), QStringLiteral("marker"));
        w->cmdExit->click();
        w->show();
        w->close();
        QCOMPARE(quits, 1);
        QCOMPARE(stored(QStringLiteral("P1")), QStringLiteral("marker"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
