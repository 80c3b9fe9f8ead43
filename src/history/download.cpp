#include "history/download.h"

#include "history/matchfile.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>
#if QT_CONFIG(ssl)
#include <QSslError>
#endif

#include <utility>

namespace kalvado {

namespace {

constexpr int kIdleTimeoutMs = 30'000;

QString Cause(const QUrl &url, const DownloadFailure &f) {
    if (f.timedOut) return QStringLiteral("няма данни от сървъра %1 секунди").arg(kIdleTimeoutMs / 1000);
    if (f.tooLarge)
        return QStringLiteral("файлът е по-голям от %1 MB").arg(kMaxMatchFileBytes / (1024 * 1024));
    if (f.cutOff) return QStringLiteral("връзката прекъсна преди края на файла");
    switch (f.error) {
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("сървърът пренасочи към незащитен адрес");
    case QNetworkReply::TooManyRedirectsError:
        return QStringLiteral("сървърът пренасочва твърде много пъти");
    default:
        break;
    }
    // An HTTP answer other than success outranks the error Qt derived from it.
    if (f.httpStatus == 404) return QStringLiteral("няма такъв файл (404)");
    if (f.httpStatus != 0 && (f.httpStatus < 200 || f.httpStatus > 299)) {
        QString cause = QStringLiteral("сървърът отговори с %1").arg(f.httpStatus);
        if (!f.httpReason.trimmed().isEmpty()) cause += QLatin1Char(' ') + f.httpReason.trimmed();
        return cause;
    }
    switch (f.error) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("непознат адрес на сървъра %1").arg(url.host());
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("сървърът отказа връзката");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("сървърът прекъсна връзката");
    case QNetworkReply::TimeoutError:
        return QStringLiteral("сървърът не отговори навреме");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("проблем със сертификата на сайта: ") + f.detail;
    case QNetworkReply::ProtocolUnknownError:
        return QStringLiteral("адресът не е на уеб сайт (http или https)");
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return QStringLiteral("няма връзка със сървъра");
    default:
        break;
    }
    if (f.detail.isEmpty()) return QStringLiteral("няма връзка със сървъра");
    return QStringLiteral("няма връзка със сървъра (%1)").arg(f.detail);
}

bool IsWebAddress(const QUrl &url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

QString DownloadFailureText(const QUrl &url, const DownloadFailure &failure) {
    return QStringLiteral("Изтеглянето на %1 не успя: %2")
        .arg(url.toDisplayString(QUrl::RemoveUserInfo), Cause(url, failure));
}

HistoryDownload::HistoryDownload(QObject *parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this)), m_idle(new QTimer(this)) {
    m_manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    m_idle->setSingleShot(true);
    m_idle->setInterval(kIdleTimeoutMs);
    connect(m_idle, &QTimer::timeout, this, [this] {
        if (!m_reply) return;
        DownloadFailure failure;
        failure.timedOut = true;
        fail(failure);
    });
}

HistoryDownload::~HistoryDownload() {
    dropReply();
}

void HistoryDownload::setIdleTimeoutMs(int ms) {
    m_idle->setInterval(ms);
}

bool HistoryDownload::isRunning() const {
    return m_running;
}

void HistoryDownload::start(const QList<Item> &items) {
    if (m_running) {
        qWarning("HistoryDownload::start: a run is still going");
        return;
    }
    m_items = items;
    m_current = -1;
    m_running = true;
    const quint64 run = ++m_run;
    // The first step waits for the event loop, so no signal arrives before
    // start() has returned.
    QTimer::singleShot(0, this, [this, run] {
        if (m_run == run && m_running) startNext();
    });
}

void HistoryDownload::cancel() {
    if (!m_running) return;
    ++m_run;
    dropReply();
    finishRun(true);
}

void HistoryDownload::startNext() {
    ++m_current;
    if (m_current >= m_items.size()) {
        finishRun(false);
        return;
    }
    m_bytes.clear();
    m_sslErrors.clear();
    const QUrl url = m_items.at(m_current).url;
    if (!IsWebAddress(url)) {
        // Anything else (file:, qrc:) would bypass the checks of a download.
        DownloadFailure failure;
        failure.error = QNetworkReply::ProtocolUnknownError;
        fail(failure);
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &HistoryDownload::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &HistoryDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &HistoryDownload::onFinished);
#if QT_CONFIG(ssl)
    // Only heard, never ignored: the handshake fails and these name why.
    connect(m_reply, &QNetworkReply::sslErrors, this, [this](const QList<QSslError> &errors) {
        for (const QSslError &error : errors)
            m_sslErrors << error.errorString();
    });
#endif
    m_idle->start();
}

void HistoryDownload::onMetaData() {
    if (!m_reply) return;
    m_idle->start();
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (status >= 200 && status <= 299 && length.isValid() && length.toLongLong() > kMaxMatchFileBytes) {
        DownloadFailure failure;
        failure.tooLarge = true;
        fail(failure);
    }
}

void HistoryDownload::onReadyRead() {
    if (!m_reply) return;
    m_idle->start();
    m_bytes += m_reply->read(kMaxMatchFileBytes + 1 - m_bytes.size());
    if (m_bytes.size() > kMaxMatchFileBytes) {
        DownloadFailure failure;
        failure.tooLarge = true;
        fail(failure);
        return;
    }
    // Told from here rather than from downloadProgress, which Qt holds back
    // for a while after the request.
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    const bool onTheWire = m_reply->rawHeader("Content-Encoding").isEmpty();
    const qint64 total = length.isValid() && onTheWire ? length.toLongLong() : -1;
    emit progress(m_current, int(m_items.size()), m_bytes.size(), total);
}

void HistoryDownload::onFinished() {
    if (!m_reply) return;
    QNetworkReply *reply = m_reply;
    m_bytes += reply->read(kMaxMatchFileBytes + 1 - m_bytes.size());

    DownloadFailure failure;
    failure.error = reply->error();
    failure.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    failure.httpReason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    failure.detail = m_sslErrors.isEmpty() ? reply->errorString() : m_sslErrors.join(QStringLiteral("; "));
    failure.tooLarge = m_bytes.size() > kMaxMatchFileBytes;
    // The declared length counts the bytes on the wire; after decompression
    // it says nothing about the body.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool onTheWire = reply->rawHeader("Content-Encoding").isEmpty();
    const bool httpOk = failure.httpStatus >= 200 && failure.httpStatus <= 299;
    failure.cutOff = httpOk && onTheWire && length.isValid() && m_bytes.size() < length.toLongLong();

    if (failure.error != QNetworkReply::NoError || !httpOk || failure.tooLarge || failure.cutOff) {
        fail(failure);
        return;
    }
    dropReply();
    const quint64 run = m_run;
    emit fetched(m_current, std::exchange(m_bytes, {}));
    if (m_run == run && m_running) startNext();
}

void HistoryDownload::dropReply() {
    m_idle->stop();
    QNetworkReply *reply = std::exchange(m_reply, nullptr);
    if (!reply) return;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void HistoryDownload::fail(const DownloadFailure &failure) {
    dropReply();
    m_bytes.clear();
    const quint64 run = m_run;
    emit failed(m_current, DownloadFailureText(m_items.at(m_current).url, failure));
    if (m_run == run && m_running) startNext();
}

void HistoryDownload::finishRun(bool cancelled) {
    m_running = false;
    m_current = -1;
    m_bytes.clear();
    emit finished(cancelled);
}

} // namespace kalvado
