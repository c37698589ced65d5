// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>

#include <condition_variable>
#include <deque>
#include <list>
#include <mutex>
#include <thread>

struct mg_connection;

// The pages' live feed (/api/live): every client gets the service's
// updates in order, through a queue of its own that a writer thread of its
// own drains. mg_websocket_write blocks while the peer's socket buffer is
// full (up to CivetWeb's request timeout): a page that stops reading holds
// up its own writer only. A client that falls behind (its queue at the
// bound) is dropped, not buffered for: it gets a close frame and nothing
// more, and reloads.
//
// A CivetWeb connection stays valid until its close handler returns; that
// handler waits here for its writer to end.
class ShopLive
{
public:
    struct Bounds
    {
        int clients = 12;               // open feeds at once
        int messages = 256;             // waiting per client
        qint64 bytes = qint64(4) << 20; // waiting per client
    };

    ShopLive();
    explicit ShopLive(const Bounds &bounds);
    ~ShopLive();
    ShopLive(const ShopLive &) = delete;
    ShopLive &operator=(const ShopLive &) = delete;

    void start();
    // Drops what is queued and ends the idle writers. One inside a write
    // ends when the write does: mg_stop cuts that short, and the close
    // handler (remove) or the destructor waits for it.
    void stop();

    // Room for one more feed (approximate: the worker count bounds the rest).
    bool hasRoom() const;
    // A new feed whose first message is `first`; on the thread that
    // broadcasts, so nothing sent after `first` was made reaches it before.
    void add(mg_connection *conn, const QByteArray &first);
    // A feed that is not wanted after its handshake: closed at once.
    void refuse(mg_connection *conn);
    void broadcast(const QByteArray &message);
    // From the close handler; ends the feed's writer, waiting out a write in progress.
    void remove(const mg_connection *conn);
    // Whether a feed was dropped (its next frame closes it).
    bool dropped(const mg_connection *conn) const;
    int size() const;

private:
    struct Client
    {
        mg_connection *conn = nullptr;
        std::deque<QByteArray> queue;
        qint64 bytes = 0;
        bool dropped = false;
        bool closeSent = false;
        bool gone = false;      // its close handler runs: the writer ends
        std::thread writer;
    };

    // Under m_mutex: a new client, its writer started.
    Client &open(mg_connection *conn, bool dropped);
    void write(Client &c);

    Bounds m_bounds;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;     // the writers: work, a close or stop
    std::list<Client> m_clients;        // never moved: each writer holds its own
    bool m_stopping = false;
};
