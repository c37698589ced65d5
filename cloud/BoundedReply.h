// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "HttpResponseReader.h"

#include <QNetworkReply>
#include <QNetworkRequest>

class QTcpSocket;

// One HTTP/1.1 exchange on its own connection, handed to callers as an
// ordinary QNetworkReply: the status in HttpStatusCodeAttribute (none when
// no response came), the headers, and the body through readAll() once the
// reply has finished.
//
// Bound: the host holds at most maxBody bytes of body plus one socket read
// buffer (ReadChunk). The socket is read on this thread, a buffer at a time,
// and the response is refused the moment it declares or delivers more than
// maxBody; the connection is dropped then. Qt's own HTTP stack reads on a
// thread of its own with no such stop (a loopback peer flooding a chunked
// body made the host grow by half a gigabyte before an abort could land).
//
// Wire facts: "Connection: close", no compression asked for, no redirect
// followed (a 3xx is the answer), no keep-alive, no pipelining. https goes
// through QSslSocket with the request's TLS configuration as given.
class BoundedReply : public QNetworkReply
{
    Q_OBJECT
public:
    static constexpr qint64 ReadChunk = 64 * 1024;

    BoundedReply(const QNetworkRequest &request, const QByteArray &verb, const QByteArray &payload,
                 qint64 maxBody, QObject *parent = nullptr);
    ~BoundedReply() override;

    // A response arrived whole: status line, headers and all of its body.
    bool answeredWhole() const { return m_reader.state() == HttpResponseReader::State::Done && m_whole; }

    void abort() override;
    qint64 bytesAvailable() const override;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;

private:
    void sendRequest();
    void readSocket();
    void socketFailed();
    void headersArrived();
    void finish(NetworkError error, const QString &text);

    QTcpSocket *m_socket = nullptr;
    QByteArray m_outgoing;
    HttpResponseReader m_reader;
    QByteArray m_body;   // given out once finished
    qint64 m_read = 0;
    bool m_whole = false;
    bool m_headersSeen = false;
};
