#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

namespace kalvado::test {

// A small HTTP/1.1 server on 127.0.0.1 (a free port chosen by the system)
// that serves the files of one folder, so that no test reaches the internet.
//
//     LocalHttpServer server(folder);          // listening once constructed
//     QUrl url(server.url("/mmz4281/2324/E0.csv"));
//     server.setStatus("/E1.csv", 500);
//     ... QTRY_COMPARE(server.requests().size(), 2);
//
// A request for "/a/b.csv" answers with the bytes of <folder>/a/b.csv and
// their Content-Length, or 404 when there is no such file. Paths given to
// the setters are request paths as the client sends them, starting with
// "/" (with the query, if any). Every answer closes the connection, except
// where a behaviour below keeps it open. Where a behaviour sends a body and
// there is no such file, 1 KB of filler stands in for it.
class LocalHttpServer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LocalHttpServer)

public:
    explicit LocalHttpServer(const QString &folder, QObject *parent = nullptr);
    ~LocalHttpServer() override;

    // "http://127.0.0.1:PORT" followed by `path`.
    QString url(const QString &path = QString()) const;
    quint16 port() const;

    // Answers `path` with this status and a short text body (404, 500 ...).
    void setStatus(const QString &path, int code);
    // Answers `path` with a redirect to `to` (absolute, or a path on this server).
    void setRedirect(const QString &path, const QString &to, int code = 302);
    // Sends the headers and the first half of the body, then nothing more,
    // keeping the connection open.
    void setStall(const QString &path);
    // Declares the whole length, sends the first half of the body, then closes.
    void setCutOff(const QString &path);
    // Declares `length` bytes and sends the body (at most `length` bytes);
    // when the body is shorter, the connection stays open without more data.
    void setDeclaredLength(const QString &path, qint64 length);
    // Back to serving files for every path.
    void clearBehaviours();

    // The paths requested so far, in order of arrival.
    QStringList requests() const { return m_requests; }

private:
    enum class Kind { Status, Redirect, Stall, CutOff, DeclaredLength };
    struct Behaviour {
        Kind kind = Kind::Status;
        int code = 0;
        QString to;
        qint64 length = 0;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QString &target);
    QByteArray body(const QString &path, bool *found) const;

    QString m_folder;
    QTcpServer *m_server = nullptr;
    QHash<QString, Behaviour> m_behaviours;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QStringList m_requests;
};

} // namespace kalvado::test
