#include "support/localhttpserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace kalvado::test {

namespace {

QByteArray ReasonPhrase(int code) {
    switch (code) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 308:
        return "Permanent Redirect";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

QByteArray Head(int code, qint64 length, const QByteArray &extra = {}) {
    return "HTTP/1.1 " + QByteArray::number(code) + ' ' + ReasonPhrase(code) +
           "\r\nContent-Type: text/csv\r\nContent-Length: " + QByteArray::number(length) +
           "\r\nConnection: close\r\n" + extra + "\r\n";
}

} // namespace

LocalHttpServer::LocalHttpServer(const QString &folder, QObject *parent)
    : QObject(parent), m_folder(folder), m_server(new QTcpServer(this)) {
    connect(m_server, &QTcpServer::newConnection, this, &LocalHttpServer::onNewConnection);
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        qFatal("LocalHttpServer: cannot listen: %s", qPrintable(m_server->errorString()));
}

LocalHttpServer::~LocalHttpServer() {
    // Stalled connections end with the server.
    const auto sockets = m_server->findChildren<QTcpSocket *>();
    for (QTcpSocket *socket : sockets)
        socket->abort();
}

QString LocalHttpServer::url(const QString &path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

quint16 LocalHttpServer::port() const {
    return m_server->serverPort();
}

void LocalHttpServer::setStatus(const QString &path, int code) {
    m_behaviours.insert(path, {Kind::Status, code, {}, 0});
}

void LocalHttpServer::setRedirect(const QString &path, const QString &to, int code) {
    m_behaviours.insert(path, {Kind::Redirect, code, to, 0});
}

void LocalHttpServer::setStall(const QString &path) {
    m_behaviours.insert(path, {Kind::Stall, 200, {}, 0});
}

void LocalHttpServer::setCutOff(const QString &path) {
    m_behaviours.insert(path, {Kind::CutOff, 200, {}, 0});
}

void LocalHttpServer::setDeclaredLength(const QString &path, qint64 length) {
    m_behaviours.insert(path, {Kind::DeclaredLength, 200, {}, length});
}

void LocalHttpServer::clearBehaviours() {
    m_behaviours.clear();
}

void LocalHttpServer::onNewConnection() {
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(m_server);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void LocalHttpServer::onReadyRead(QTcpSocket *socket) {
    QByteArray &buffer = m_pending[socket];
    buffer += socket->readAll();
    if (!buffer.contains("\r\n\r\n")) return;
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    m_pending.remove(socket);
    // One request per connection: whatever follows is not read.
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    const QString target = requestLine.size() >= 2 ? QString::fromLatin1(requestLine.at(1)) : QString();
    m_requests << target;
    answer(socket, target);
}

QByteArray LocalHttpServer::body(const QString &target, bool *found) const {
    const QString path = QUrl::fromPercentEncoding(target.section(QLatin1Char('?'), 0, 0).toLatin1());
    const QString clean = QDir::cleanPath(QStringLiteral("/") + path);
    QFile file(m_folder + clean);
    *found =
        !clean.contains(QLatin1String("/..")) && QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly);
    return *found ? file.readAll() : QByteArray(1024, 'x');
}

void LocalHttpServer::answer(QTcpSocket *socket, const QString &target) {
    bool found = false;
    const QByteArray bytes = body(target, &found);
    const auto it = m_behaviours.constFind(target);
    if (it == m_behaviours.cend()) {
        if (found) {
            socket->write(Head(200, bytes.size()) + bytes);
        } else {
            const QByteArray text = "Not Found\n";
            socket->write(Head(404, text.size()) + text);
        }
        socket->disconnectFromHost();
        return;
    }
    const Behaviour &b = *it;
    const QByteArray half = bytes.left(bytes.size() / 2);
    switch (b.kind) {
    case Kind::Status: {
        const QByteArray text = ReasonPhrase(b.code) + '\n';
        socket->write(Head(b.code, text.size()) + text);
        socket->disconnectFromHost();
        break;
    }
    case Kind::Redirect:
        socket->write(Head(b.code, 0, "Location: " + b.to.toUtf8() + "\r\n"));
        socket->disconnectFromHost();
        break;
    case Kind::Stall:
        socket->write(Head(200, bytes.size()) + half);
        break;
    case Kind::CutOff:
        socket->write(Head(200, bytes.size()) + half);
        socket->disconnectFromHost();
        break;
    case Kind::DeclaredLength:
        socket->write(Head(200, b.length) + bytes.left(b.length));
        if (b.length <= bytes.size()) socket->disconnectFromHost();
        break;
    }
}

} // namespace kalvado::test
