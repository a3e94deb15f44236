#pragma once

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// A tiny HTTP server on 127.0.0.1 for start page tests. It records the
// request line of every request and answers each path with the page set for
// it (any other path gets a small HTML page), then closes the connection.
class LoopbackHttpServer : public QObject {
public:
    LoopbackHttpServer();

    bool IsListening() const { return m_server.isListening(); }
    // "http://127.0.0.1:<port>" followed by `path`.
    QString Url(const QString& path) const;
    // Request lines received so far, e.g. "GET /start?version=1.1 HTTP/1.1".
    const QStringList& RequestLines() const { return m_requestLines; }
    bool HasRequest(const QString& requestLine) const { return m_requestLines.contains(requestLine); }

    // Answers `path` (without its query) with `body` and these extra header lines.
    void SetResponse(const QString& path, const QByteArray& contentType, const QByteArray& body,
                     const QByteArray& extraHeaders = QByteArray());

private:
    struct Response {
        QByteArray contentType;
        QByteArray body;
        QByteArray extraHeaders;
    };

    void OnNewConnection();
    void Answer(QTcpSocket* socket, const QByteArray& request);

    QTcpServer m_server;
    QStringList m_requestLines;
    QMap<QString, Response> m_responses;
};
