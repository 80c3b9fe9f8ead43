// The typing rules hold whatever way a character takes into the box.
#include "gui/common/keyfilter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

using namespace kalvado;

namespace {

enum class Route { Key, InputMethod, CtrlV, ShiftInsert, ContextMenu, Drop };

} // namespace

Q_DECLARE_METATYPE(Route)
Q_DECLARE_METATYPE(KeyRule)

class TestKeyFilter final : public QObject {
    Q_OBJECT

private slots:
    void everyRoute_data() {
        QTest::addColumn<KeyRule>("rule");
        QTest::addColumn<Route>("route");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("after");
        const auto none = Qt::KeyboardModifiers();
        const auto score = KeyRule::ScoreBox;
        const auto odds = KeyRule::OddsBox;
        const auto archive = KeyRule::ArchiveBox;
        const auto money = KeyRule::MoneyBox;
        // A refused key acts by the rule whatever modifiers come with it.
        QTest::newRow("Alt+letter, score")
            << score << Route::Key << Qt::KeyboardModifiers(Qt::AltModifier) << "2"
            << "a"
            << "";
        QTest::newRow("Super+letter, score")
            << score << Route::Key << Qt::KeyboardModifiers(Qt::MetaModifier) << "12"
            << "b"
            << "1";
        QTest::newRow("AltGr sign, score")
            << score << Route::Key << (Qt::ControlModifier | Qt::AltModifier) << "12"
            << "@"
            << "1";
        QTest::newRow("AltGr on X11, score")
            << score << Route::Key << Qt::KeyboardModifiers(Qt::GroupSwitchModifier) << "12"
            << "€"
            << "1";
        QTest::newRow("Alt+letter, archive")
            << archive << Route::Key << Qt::KeyboardModifiers(Qt::AltModifier) << "2"
            << "a"
            << "2";
        QTest::newRow("Super+Cyrillic, archive")
            << archive << Route::Key << Qt::KeyboardModifiers(Qt::MetaModifier) << "2"
            << "ж"
            << "2";
        QTest::newRow("Alt+point, odds")
            << odds << Route::Key << Qt::KeyboardModifiers(Qt::AltModifier) << "1"
            << "."
            << "1,";
        QTest::newRow("Super+letter, money")
            << money << Route::Key << Qt::KeyboardModifiers(Qt::MetaModifier) << "50"
            << "x"
            << "5";
        QTest::newRow("Alt+digit passes")
            << score << Route::Key << Qt::KeyboardModifiers(Qt::AltModifier) << "1"
            << "2"
            << "12";
        QTest::newRow("Ctrl shortcut untouched")
            << score << Route::Key << Qt::KeyboardModifiers(Qt::ControlModifier) << "12"
            << "a"
            << "12";
        QTest::newRow("zero-width character with Ctrl+Shift")
            << archive << Route::Key << (Qt::ControlModifier | Qt::ShiftModifier) << "2"
            << QStringLiteral("\u200B") << "2";
        // A key whose text holds more than one character: each is judged.
        QTest::newRow("two characters in one key") << score << Route::Key << none << ""
                                                   << "2a"
                                                   << "";
        QTest::newRow("two characters, archive") << archive << Route::Key << none << "1"
                                                 << "2a"
                                                 << "12";
        // Dead keys and input methods commit their text.
        QTest::newRow("commit of a letter, score") << score << Route::InputMethod << none << "2"
                                                   << "a"
                                                   << "";
        QTest::newRow("commit of an accented letter, archive") << archive << Route::InputMethod << none << "1"
                                                               << "á"
                                                               << "1";
        QTest::newRow("commit of digits") << score << Route::InputMethod << none << ""
                                          << "12"
                                          << "12";
        QTest::newRow("commit of a point, odds") << odds << Route::InputMethod << none << "1"
                                                 << "."
                                                 << "1,";
        QTest::newRow("commit of a letter, money") << money << Route::InputMethod << none << "25"
                                                   << "k"
                                                   << "2";
        // Pasted and dropped text goes in whole or not at all.
        QTest::newRow("Ctrl+V digits") << score << Route::CtrlV << none << "1"
                                       << "23"
                                       << "123";
        QTest::newRow("Ctrl+V with a letter") << score << Route::CtrlV << none << "1"
                                              << "2:1"
                                              << "1";
        QTest::newRow("Shift+Insert with a letter") << archive << Route::ShiftInsert << none << ""
                                                    << "a2"
                                                    << "";
        QTest::newRow("Ctrl+V point, odds") << odds << Route::CtrlV << none << ""
                                            << "1.5"
                                            << "1,5";
        QTest::newRow("menu paste with a letter") << money << Route::ContextMenu << none << "7"
                                                  << "1a"
                                                  << "7";
        QTest::newRow("menu paste digits") << money << Route::ContextMenu << none << "7"
                                           << "1,5"
                                           << "71,5";
        QTest::newRow("drop with a letter") << archive << Route::Drop << none << "3"
                                            << "x"
                                            << "3";
        QTest::newRow("drop of digits") << archive << Route::Drop << none << ""
                                        << "3"
                                        << "3";
    }
    void everyRoute() {
        QFETCH(KeyRule, rule);
        QFETCH(Route, route);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, before);
        QFETCH(QString, entered);
        QFETCH(QString, after);
        QLineEdit box;
        InstallKeyFilter(&box, rule);
        box.setText(before);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.setFocus();
        switch (route) {
        case Route::Key: {
            const Qt::Key key =
                entered.size() == 1 && entered.at(0).isLetter() && entered.at(0).unicode() < 128
                    ? Qt::Key(Qt::Key_A + (entered.at(0).toLower().unicode() - u'a'))
                    : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, &box, key, entered, modifiers);
            break;
        }
        case Route::InputMethod: {
            QInputMethodEvent commit;
            commit.setCommitString(entered);
            QApplication::sendEvent(&box, &commit);
            break;
        }
        case Route::CtrlV:
            QApplication::clipboard()->setText(entered);
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
            break;
        case Route::ShiftInsert:
            QApplication::clipboard()->setText(entered);
            QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
            break;
        case Route::ContextMenu: {
            QApplication::clipboard()->setText(entered);
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2),
                                        box.mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(&box, &menuEvent);
            QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QAction *paste = nullptr;
            for (QAction *action : menu->actions())
                if (action->text().startsWith(QStringLiteral("&Paste"))) paste = action;
            QVERIFY(paste);
            paste->trigger();
            menu->close();
            break;
        }
        case Route::Drop: {
            QMimeData data;
            data.setText(entered);
            const QPointF at(box.width() - 2, box.height() / 2);
            QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&box, &enter);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&box, &drop);
            break;
        }
        }
        QCOMPARE(box.text(), after);
    }
};

QTEST_MAIN(TestKeyFilter)
#include "tst_keyfilter.moc"
