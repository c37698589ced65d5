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
}

void ShopLive::start()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_thread.joinable())
        return;
    m_stopping = false;
    m_thread = std::thread([this] { writer(); });
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
    if (m_thread.joinable())
        m_thread.join();
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

void ShopLive::add(mg_connection *conn, const QByteArray &first)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Client c;
        c.conn = conn;
        c.queue.push_back(first);
        c.bytes = first.size();
        // Over the bound (several pages opened at once): closed straight away.
        c.dropped = m_stopping || int(m_clients.size()) >= m_bounds.clients;
        if (c.dropped)
            c.queue.clear();
        m_clients.push_back(std::move(c));
    }
    m_wake.notify_all();
}

void ShopLive::refuse(mg_connection *conn)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Client c;
        c.conn = conn;
        c.dropped = true;
        m_clients.push_back(std::move(c));
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
    m_idle.wait(lock, [&] { return !it->busy; });
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

ShopLive::Client *ShopLive::nextWork()
{
    const size_t n = m_clients.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t at = (m_turn + i) % n;
        auto it = std::next(m_clients.begin(), long(at));
        const bool work = it->dropped ? !it->closeSent : !it->queue.empty();
        if (work && !it->busy) {
            m_turn = at + 1;
            return &*it;
        }
    }
    return nullptr;
}

void ShopLive::writer()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        Client *c = nullptr;
        m_wake.wait(lock, [&] { return m_stopping || (c = nextWork()) != nullptr; });
        if (m_stopping)
            return;
        c->busy = true;
        const bool closing = c->dropped;
        QByteArray message;
        if (!closing) {
            message = c->queue.front();
            c->queue.pop_front();
            c->bytes -= message.size();
        }
        mg_connection *conn = c->conn;
        lock.unlock();
        // A client that reads nothing blocks this write for CivetWeb's
        // request timeout at most; the others wait that long, no longer.
        const int n = closing ? mg_websocket_write(conn, MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE, kDroppedClose,
                                                   sizeof kDroppedClose)
                              : mg_websocket_write(conn, MG_WEBSOCKET_OPCODE_TEXT, message.constData(),
                                                   size_t(message.size()));
        lock.lock();
        // Still in the list: remove() waits while busy.
        c->busy = false;
        if (closing || n <= 0) {
            c->dropped = true;
            c->closeSent = true;
            c->queue.clear();
            c->bytes = 0;
        }
        m_idle.notify_all();
    }
}
