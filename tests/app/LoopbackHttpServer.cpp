#include "tests/app/LoopbackHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <memory>

LoopbackHttpServer::LoopbackHttpServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::OnNewConnection);
}

QString LoopbackHttpServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void LoopbackHttpServer::SetResponse(const QString& path, const QByteArray& contentType,
                                     const QByteArray& body, const QByteArray& extraHeaders)
{
    m_responses.insert(path, Response{contentType, body, extraHeaders});
}

void LoopbackHttpServer::OnNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            if (buffer->contains("\r\n\r\n")) {
                Answer(socket, *buffer);
                buffer->clear();
            }
        });
    }
}

void LoopbackHttpServer::Answer(QTcpSocket* socket, const QByteArray& request)
{
    const QByteArray line = request.left(request.indexOf("\r\n"));
    m_requestLines << QString::fromLatin1(line);
    const QList<QByteArray> parts = line.split(' ');
    const QByteArray target = parts.size() > 1 ? parts.at(1) : QByteArray("/");
    const qsizetype query = target.indexOf('?');
    const QString path = QString::fromLatin1(query >= 0 ? target.left(query) : target);

    Response response{"text/html; charset=utf-8",
                      "<!DOCTYPE html><html><head><title>remote</title></head><body>remote</body></html>", {}};
    if (auto found = m_responses.constFind(path); found != m_responses.constEnd())
        response = *found;
    QByteArray reply = "HTTP/1.1 200 OK\r\nContent-Type: " + response.contentType
                       + "\r\nContent-Length: " + QByteArray::number(response.body.size())
                       + "\r\nCache-Control: no-store\r\nConnection: close\r\n" + response.extraHeaders
                       + "\r\n" + response.body;
    socket->write(reply);
    socket->disconnectFromHost();
}
