// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QByteArray>
#include <QList>
#include <QPair>

// Reads one HTTP/1.1 response as its bytes arrive, holding no more than the
// caller allows: the status line and headers are capped at MaxHeadBytes, the
// body at the limit given, whether its length comes up front
// (Content-Length), in chunks, or only by the peer closing the connection.
// Anything past the cap is an error at once, so the caller can stop reading
// the socket and hang up before the excess is ever held.
//
// It exists because Qt's HTTP stack reads a response on its own thread as
// fast as the peer sends it: neither the reply's read buffer size nor an
// abort from readyRead stops a flooding peer before hundreds of megabytes
// sit in queued signals. No compressed body is asked for, so none is
// inflated here; a Content-Encoding other than identity is taken as bytes.
// Interim 1xx answers are skipped; the request goes with
// "Connection: close", so one response ends the exchange.
class VXDEVICE_EXPORT HttpResponseReader
{
public:
    enum class State { Head, Body, Done, TooLarge, Malformed };
    static constexpr int MaxHeadBytes = 16 * 1024;
    static constexpr int MaxInterimResponses = 8;

    explicit HttpResponseReader(qint64 maxBody, bool headRequest = false);

    // Takes up to len bytes of the stream; returns how many it used. Bytes
    // after the end of the response are not used. Stops using bytes once
    // the state is Done, TooLarge or Malformed.
    qint64 feed(const char *data, qint64 len);
    // The peer closed the connection: a body without a length ends here;
    // anything else unfinished is cut short (Malformed).
    void finishAtEof();

    State state() const { return m_state; }
    bool headersDone() const { return m_status != 0 && m_state != State::Head; }
    int status() const { return m_status; }
    QByteArray reason() const { return m_reason; }
    const QList<QPair<QByteArray, QByteArray>> &headers() const { return m_headers; }
    QByteArray header(const QByteArray &name) const;
    // The body so far; whole once state() is Done.
    QByteArray takeBody();
    const QByteArray &body() const { return m_body; }

private:
    enum class Framing { Length, Chunked, UntilClose, None };
    enum class ChunkStep { Size, Data, DataEnd, Trailer };

    bool parseHead();
    bool startBody();
    qint64 feedBody(const char *data, qint64 len);
    qint64 feedChunked(const char *data, qint64 len);
    bool appendBody(const char *data, qint64 len);
    void fail(State s) { m_state = s; }

    qint64 m_maxBody;
    bool m_headRequest;
    State m_state = State::Head;
    int m_interim = 0;
    QByteArray m_line;   // head so far, or the current chunk line
    int m_status = 0;
    QByteArray m_reason;
    QList<QPair<QByteArray, QByteArray>> m_headers;
    Framing m_framing = Framing::None;
    qint64 m_remaining = 0;   // of Content-Length, or of the current chunk
    ChunkStep m_chunkStep = ChunkStep::Size;
    QByteArray m_body;
};
