// The boxes as shown, not scripted: over a window kept on top, and with the
// text as written.
#include "gui/common/messageboxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace kalvado;

class TestMessageBoxes final : public QObject {
    Q_OBJECT

private slots:
    void shownBox_data() {
        QTest::addColumn<bool>("topmostShown");
        QTest::newRow("a window kept on top is shown") << true;
        QTest::newRow("no window kept on top") << false;
    }
    void shownBox() {
        QFETCH(bool, topmostShown);
        QWidget parent;
        parent.show();
        QWidget topmost;
        topmost.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (topmostShown) topmost.show();

        bool seen = false;
        Qt::WindowFlags flags;
        Qt::TextFormat format = Qt::AutoText;
        Qt::WindowModality modality = Qt::NonModal;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) return;
            seen = true;
            flags = box->windowFlags();
            format = box->textFormat();
            modality = box->windowModality();
            box->accept();
        });
        MessageBoxes boxes;
        boxes.show(&parent, QStringLiteral("Kalvado"), QStringLiteral("<b>Левски</b>"),
                   MessageBoxes::Icon::Information, MessageBoxes::Buttons::Ok);
        QVERIFY(seen);
        QCOMPARE(flags.testFlag(Qt::WindowStaysOnTopHint), topmostShown);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(modality, Qt::ApplicationModal);
    }
};

QTEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
