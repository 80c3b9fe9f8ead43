#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;
class QTimer;

namespace kalvado {

// What went wrong with one transfer, as far as the downloader knows it.
struct DownloadFailure {
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int httpStatus = 0; // 0: no HTTP answer
    QString httpReason; // the status line's reason phrase
    QString detail;     // Qt's own text (certificate errors, anything unforeseen)
    bool timedOut = false;
    bool tooLarge = false;
    bool cutOff = false; // fewer bytes than the declared length
};

// "Изтеглянето на <address> не успя: <cause>", the cause in Bulgarian.
QString DownloadFailureText(const QUrl &url, const DownloadFailure &failure);

// Fetches one file of the results site after another. Redirects are
// followed; a transfer that brings no data for 30 s is a timeout; more than
// 64 MB is refused. Certificate checks stay on. Every failure is told in
// Bulgarian with the address and the cause.
// Signals always come from the event loop, never from inside start() or
// cancel(), except finished(true), which cancel() emits itself. Items are
// numbered from 0 in the order given.
class HistoryDownload final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryDownload)

public:
    struct Item {
        QUrl url;
        QString extraCode; // for extra-league files: the league's code
    };

    explicit HistoryDownload(QObject *parent = nullptr);
    ~HistoryDownload() override;

    // Starts fetching the items in order; the previous run must be over.
    void start(const QList<Item> &items);
    // Stops at once; the file in transfer is dropped without fetched() or
    // failed(), no further one starts, and finished(true) is emitted once.
    // Does nothing when no run is going.
    void cancel();
    bool isRunning() const;

    // For tests: the idle time after which a transfer counts as timed out.
    void setIdleTimeoutMs(int ms);

signals:
    // Bytes of the current item so far and in all (-1: unknown).
    void progress(int item, int items, qint64 received, qint64 total);
    // One item fetched whole.
    void fetched(int item, const QByteArray &bytes);
    // One item failed; `message` names the address and the cause.
    void failed(int item, const QString &message);
    // The run is over (every item fetched or failed, or cancelled).
    void finished(bool cancelled);

private:
    void startNext();
    void onMetaData();
    void onReadyRead();
    void onFinished();
    // Drops the reply in transfer without hearing from it again.
    void dropReply();
    // Reports the current item as failed and goes on with the next one.
    void fail(const DownloadFailure &failure);
    void finishRun(bool cancelled);

    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    QTimer *m_idle = nullptr;
    QList<Item> m_items;
    int m_current = -1;
    QByteArray m_bytes;
    QStringList m_sslErrors;
    bool m_running = false;
    quint64 m_run = 0; // tells a stale queued step from the current run's
};

} // namespace kalvado
