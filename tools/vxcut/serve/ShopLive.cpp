// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ShopLive.h"

#include <civetweb.h>

#include <algorithm>

namespace {
// 1013 "try again later": the page reconnects and starts from a fresh hello.
const char kDroppedClose[] = {'\x03', '\xf5'};
}

ShopLive::ShopLive()
    : ShopLive(Bounds())
{
}

ShopLive::ShopLive(const Bounds &bounds)
    : m_bounds(bounds)
{
}

ShopLive::~ShopLive()
{
    stop();
    // After mg_stop every close handler has run; these are the rest.
    for (Client &c : m_clients) {
        if (c.writer.joinable())
            c.writer.join();
    }
}

void ShopLive::start()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = false;
}

void ShopLive::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        for (Client &c : m_clients) {
            c.queue.clear();
            c.bytes = 0;
        }
    }
    m_wake.notify_all();
}

bool ShopLive::hasRoom() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_stopping && int(m_clients.size()) < m_bounds.clients;
}

int ShopLive::size() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_clients.size());
}

ShopLive::Client &ShopLive::open(mg_connection *conn, bool dropped)
{
    m_clients.emplace_back();
    Client &c = m_clients.back();
    c.conn = conn;
    c.dropped = dropped;
    c.writer = std::thread([this, &c] { write(c); });
    return c;
}

void ShopLive::add(mg_connection *conn, const QByteArray &first)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Over the bound (several pages opened at once): closed straight away.
        const bool over = m_stopping || int(m_clients.size()) >= m_bounds.clients;
        Client &c = open(conn, over);
        if (!over) {
            c.queue.push_back(first);
            c.bytes = first.size();
        }
    }
    m_wake.notify_all();
}

void ShopLive::refuse(mg_connection *conn)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        open(conn, true);
    }
    m_wake.notify_all();
}

void ShopLive::broadcast(const QByteArray &message)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping)
            return;
        for (Client &c : m_clients) {
            if (c.dropped)
                continue;
            if (int(c.queue.size()) >= m_bounds.messages || c.bytes + message.size() > m_bounds.bytes) {
                c.dropped = true;
                c.queue.clear();
                c.bytes = 0;
                continue;
            }
            c.queue.push_back(message);     // shared, not copied
            c.bytes += message.size();
        }
    }
    m_wake.notify_all();
}

void ShopLive::remove(const mg_connection *conn)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto it = std::find_if(m_clients.begin(), m_clients.end(),
                                 [conn](const Client &c) { return c.conn == conn; });
    if (it == m_clients.end())
        return;
    it->gone = true;
    std::thread writer = std::move(it->writer);
    lock.unlock();
    m_wake.notify_all();
    // A write in progress ends first: the connection is valid until this returns.
    if (writer.joinable())
        writer.join();
    lock.lock();
    m_clients.erase(it);
}

bool ShopLive::dropped(const mg_connection *conn) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Client &c : m_clients) {
        if (c.conn == conn)
            return c.dropped;
    }
    return false;
}

void ShopLive::write(Client &c)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    // Each pass sends one queued message (bounded) or the close frame, the last.
    while (!c.closeSent) {
        m_wake.wait(lock, [&] { return m_stopping || c.gone || c.dropped || !c.queue.empty(); });
        if (m_stopping || c.gone)
            return;
        const bool closing = c.dropped;
        QByteArray message;
        if (!closing) {
            message = c.queue.front();
            c.queue.pop_front();
            c.bytes -= message.size();
        }
        lock.unlock();
        // A client that reads nothing blocks here for CivetWeb's request
        // timeout at most (mg_stop cuts it short); the others go on.
        const int n = closing ? mg_websocket_write(c.conn, MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE, kDroppedClose,
                                                   sizeof kDroppedClose)
                              : mg_websocket_write(c.conn, MG_WEBSOCKET_OPCODE_TEXT, message.constData(),
                                                   size_t(message.size()));
        lock.lock();
        if (closing || n <= 0) {
            c.dropped = true;
            c.closeSent = true;
            c.queue.clear();
            c.bytes = 0;
        }
    }
}
