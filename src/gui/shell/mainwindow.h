#pragma once

#include "gui/common/appcontext.h"

#include "gui/shell/helpwindow.h"
#include "gui/shell/recentpanel.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QLabel;
class QPushButton;
class QTimer;

namespace kalvado {

class PictureBox;

// frmKalv, the program's home window: the buttons that open every other
// window, the chosen picture, the stadium animation and the panel of the
// last five prognoses.
class MainWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(AppContext &ctx, QWidget *parent = nullptr);
    // The panel of the last five prognoses; recording adds to it.
    RecentPanel *panel() { return m_panel; }
    // The program's own view of the help page, while it is open.
    HelpWindow *helpWindow() const { return m_help; }

    // One tick of the 10 ms highlight timer and of the 1500 ms stadium timer.
    void Timer1Tick();
    void tmrStadiumTick();

    QPushButton *cmdPro = nullptr;
    QPushButton *cmdNew = nullptr;
    QPushButton *cmdArh = nullptr;
    QPushButton *cmdFinans = nullptr;
    QPushButton *cmdOpt = nullptr;
    QPushButton *cmdHelp = nullptr;
    QPushButton *cmdHelpR = nullptr;
    QPushButton *cmdExit = nullptr;
    QPushButton *cmdIstoria = nullptr;

    // Picture layers: picKelo and picAutor inside picOrvel, picMarn inside picAutor.
    PictureBox *picOrvel = nullptr;
    PictureBox *picKelo = nullptr;
    PictureBox *picAutor = nullptr;
    PictureBox *picMarn = nullptr;
    QLabel *lblPic = nullptr;
    QLabel *lblPosledni = nullptr;
    PictureBox *Image1 = nullptr;
    PictureBox *imgT1 = nullptr; // thumbnails
    PictureBox *imgT2 = nullptr;
    PictureBox *imgT3 = nullptr;
    PictureBox *imgT4 = nullptr;
    PictureBox *picT1 = nullptr; // the buttons over them
    PictureBox *picT2 = nullptr;
    PictureBox *picT3 = nullptr;
    PictureBox *picT4 = nullptr;
    PictureBox *Image5 = nullptr; // stadium frames
    PictureBox *Image6 = nullptr;
    PictureBox *Image7 = nullptr;
    PictureBox *Image8 = nullptr;
    PictureBox *Image9 = nullptr;
    PictureBox *Image10 = nullptr;

    QTimer *Timer1 = nullptr;
    QTimer *tmrStadium = nullptr;

    // The caption that goes with the second picture.
    static QString secondCaption();

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadPictureChoice();
    void savePictureChoice(bool withCaption);
    void choosePicture(int button);
    void hideChoiceButtons();
    void openHelp();
    void showHelpHere(const QString &page);
    void leave();

    AppContext &m_ctx;
    std::array<PictureBox *, 4> m_thumbs{};
    std::array<PictureBox *, 4> m_choices{};
    std::array<PictureBox *, 6> m_stadium{};
    RecentPanel *m_panel = nullptr;
    QPointer<HelpWindow> m_help;
    // Set once the state has been saved on the way out; a close that follows
    // (the program closing its windows) saves nothing more.
    bool m_leaving = false;
};

} // namespace kalvado
