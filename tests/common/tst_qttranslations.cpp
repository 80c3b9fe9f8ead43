// Qt's own texts in Bulgarian whatever the locale (CTest runs under C.UTF-8):
// what a user meets in a text box's menu and the save dialog.
#include "gui/common/qttranslations.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace kalvado;

namespace {
// Texts with an English word in them; a shortcut after a tab is no word.
QStringList English(const QStringList &texts) {
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    QStringList found;
    for (const QString &text : texts)
        if (text.section(u'\t', 0, 0).contains(word)) found << text;
    return found;
}
} // namespace

class TestQtTranslations final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(LoadQtTranslations(*qApp), "Qt's Bulgarian catalogue is not installed");
        QVERIFY(LoadQtTranslations(*qApp)); // a second call adds nothing
    }

    void textBoxMenu() {
        QLineEdit box(QStringLiteral("Левски"));
        box.selectAll();
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList texts;
        for (const QAction *a : menu->actions())
            if (!a->isSeparator()) texts << a->text();
        QCOMPARE(texts.size(), 7); // undo, redo, cut, copy, paste, delete, select all
        QCOMPARE(English(texts), QStringList());
    }

    void saveDialog() {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDirectory(QDir::homePath());
        // A new user's sidebar; the tests' shared settings remember other tests' folders.
        dialog.setSidebarUrls({QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath())});
        QStringList texts;
        for (const QToolButton *b : dialog.findChildren<QToolButton *>())
            texts << b->toolTip();
        for (const QAction *a : dialog.findChildren<QAction *>())
            texts << a->text();
        auto *files = dialog.findChild<QAbstractItemView *>(QStringLiteral("treeView"));
        QVERIFY(files);
        for (int c = 0; c < 4; ++c)
            texts << files->model()->headerData(c, Qt::Horizontal).toString();
        auto *sidebar = dialog.findChild<QListView *>(QStringLiteral("sidebar"));
        QVERIFY(sidebar && sidebar->model()->rowCount() > 0);
        for (int r = 0; r < sidebar->model()->rowCount(); ++r)
            texts << sidebar->model()->index(r, 0).data().toString();
        texts.removeAll(QDir::home().dirName()); // the user's own folder keeps its name
        QVERIFY(texts.size() > 10);
        QCOMPARE(English(texts), QStringList());
    }
};

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
