#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace kalvado {

// Fetches one file of the results site after another. Redirects are
// followed; a transfer that brings no data for 30 s is a timeout; more than
// 64 MB is refused. Certificate checks stay on. Every failure is told in
// Bulgarian with the address and the cause.
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
    // Stops at once; the file in transfer is dropped, no further one starts.
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
    void onReadyRead();
    void onFinished();

    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    QTimer *m_idle = nullptr;
    QList<Item> m_items;
    int m_current = -1;
    QByteArray m_bytes;
    bool m_tooLarge = false;
    bool m_timedOut = false;
    bool m_cancelled = false;
};

} // namespace kalvado
