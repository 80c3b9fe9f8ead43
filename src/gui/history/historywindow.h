#pragma once

#include "gui/common/appcontext.h"
#include "history/download.h"
#include "history/historystore.h"

#include <QWidget>

#include <atomic>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QStringListModel;
class QThreadPool;
class QTimer;

namespace kalvado {

// frmIstoria: the leagues the match history holds, importing the results
// site's files by hand or by download, deleting a league, and the links of
// the history's clubs to the user's own club names.
class HistoryWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryWindow)

public:
    explicit HistoryWindow(AppContext &ctx, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    // Imports the files one after another: each is read off the GUI thread
    // and stored whole or not at all. Returns at once; busy() until done.
    void ImportFiles(const QStringList &paths);
    // Fetches the files and imports each one as it arrives.
    void Download(const QList<HistoryDownload::Item> &items);
    // Stops after the file being stored; what is stored stays.
    void Cancel();
    bool busy() const { return m_run != nullptr; }

    // Reads the leagues and the club links again.
    void Refresh();

    QTableWidget *tblLigi = nullptr;
    QPushButton *cmdVnesi = nullptr;
    QPushButton *cmdIztegli = nullptr;
    QPushButton *cmdIztrii = nullptr;
    QPushButton *cmdProverka = nullptr; // opens frmProverka on the chosen league
    QLineEdit *txtTarsi = nullptr;
    QTableWidget *tblVrazki = nullptr;
    QProgressBar *prgRabota = nullptr;
    QLabel *lblRabota = nullptr;
    QPushButton *cmdOtkaz = nullptr;
    QPlainTextEdit *txtRezultat = nullptr;

signals:
    // A run of imports or downloads is over (stopped or not).
    void runFinished();

private:
    struct Run;

    void chooseFiles();
    void chooseDownload();
    void deleteLeague();
    void openCheck();
    void linkEdited(QTableWidgetItem *item);
    void filterLinks(const QString &text);
    void fillLeagues();
    void fillLinks();

    void startRun(int files, const QString &what);
    void readAhead();
    void parsed(quint64 runId, int index, const MatchFile &file);
    void storeNext();
    void finishRun(bool stopped);
    void showSummary();
    void setBusyControls(bool busy);
    void databaseRefused(const QString &message);

    AppContext &m_ctx;
    HistoryStore m_store;
    HistoryDownload *m_download = nullptr;
    QThreadPool *m_pool = nullptr;
    QTimer *m_storeTimer = nullptr;         // stores the next file read
    QStringListModel *m_timNames = nullptr; // the user's club names, for completion
    std::unique_ptr<Run> m_run;
    quint64 m_nextRunId = 1;
    bool m_fillingLinks = false;
};

} // namespace kalvado
