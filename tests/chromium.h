// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

// A headless Chromium driven over its DevTools protocol, for tests that use
// a web page as a person would. No WebDriver: the browser is started with a
// debugging port of its own choosing, which it writes to DevToolsActivePort
// in its profile folder; the page target is then talked to over one
// WebSocket, one JSON command at a time, each answered by its "id".
//
// Header-only and without Q_OBJECT, so any test can include it.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebSocket>

#include <functional>
#include <optional>

class Chromium
{
public:
    Chromium() = default;
    Chromium(const Chromium &) = delete;
    Chromium &operator=(const Chromium &) = delete;
    ~Chromium()
    {
        m_socket.abort();
        if (m_process.state() != QProcess::NotRunning) {
            // SIGTERM lets the browser take its renderers down with it.
            m_process.terminate();
            if (!m_process.waitForFinished(5000)) {
                m_process.kill();
                m_process.waitForFinished(2000);
            }
        }
    }

    // The browser program ($VX_CHROMIUM, else chromium on PATH); empty when
    // there is none.
    static QString binary()
    {
        const QString env = qEnvironmentVariable("VX_CHROMIUM");
        if (!env.isEmpty())
            return QFile::exists(env) ? env : QString();
        for (const char *name : {"chromium", "chromium-browser", "google-chrome"}) {
            const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!found.isEmpty())
                return found;
        }
        return QString();
    }

    bool start(int width = 1366, int height = 768, int timeoutMs = 30000)
    {
        if (!m_profile.isValid())
            return fail(QStringLiteral("no temporary profile folder"));
        const QString program = binary();
        if (program.isEmpty())
            return fail(QStringLiteral("no chromium"));
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        // Its chatter on stderr is kept only to explain a failed start.
        QObject::connect(&m_process, &QProcess::readyRead, [this] {
            m_output += m_process.readAll();
            if (m_output.size() > 65536)
                m_output = m_output.right(32768);
        });
        m_process.start(program, {
            QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"),
            QStringLiteral("--disable-gpu"), QStringLiteral("--no-first-run"),
            QStringLiteral("--no-default-browser-check"),
            QStringLiteral("--disable-background-networking"),
            QStringLiteral("--user-data-dir=") + m_profile.path(),
            QStringLiteral("--remote-debugging-port=0"),
            QStringLiteral("--window-size=%1,%2").arg(width).arg(height),
            QStringLiteral("about:blank")});
        if (!m_process.waitForStarted(10000))
            return fail(QStringLiteral("chromium did not start: ") + m_process.errorString());

        // The file appears once the port is bound; its first line is the port.
        const QString portFile = m_profile.filePath(QStringLiteral("DevToolsActivePort"));
        int port = 0;
        if (!until([&] {
                QFile f(portFile);
                if (f.open(QIODevice::ReadOnly))
                    port = QString::fromLatin1(f.readLine()).trimmed().toInt();
                return port > 0 || m_process.state() == QProcess::NotRunning;
            }, timeoutMs) || port <= 0)
            return fail(QStringLiteral("no DevTools port: ") + QString::fromLocal8Bit(m_output));

        const QJsonArray targets = QJsonDocument::fromJson(
                    httpGet(QUrl(QStringLiteral("http://127.0.0.1:%1/json/list").arg(port)), timeoutMs)).array();
        QString wsUrl;
        for (const QJsonValue &t : targets) {
            if (t[QStringLiteral("type")].toString() == QLatin1String("page")) {
                wsUrl = t[QStringLiteral("webSocketDebuggerUrl")].toString();
                break;
            }
        }
        if (wsUrl.isEmpty())
            return fail(QStringLiteral("no page target among ") + QString::number(targets.size()));

        QObject::connect(&m_socket, &QWebSocket::textMessageReceived, [this](const QString &text) {
            received(text);
        });
        m_socket.open(QUrl(wsUrl));
        if (!until([&] { return m_socket.state() == QAbstractSocket::ConnectedState; }, timeoutMs))
            return fail(QStringLiteral("DevTools socket: ") + m_socket.errorString());
        return command(QStringLiteral("Page.enable")).has_value()
                && command(QStringLiteral("Runtime.enable")).has_value();
    }

    QString errorString() const { return m_error; }
    qint64 pid() const { return m_process.processId(); }
    // What the page logged (console calls and uncaught exceptions), oldest
    // first: the first thing to read when a page test fails.
    QStringList console() const { return m_console; }

    // One protocol command; its "result", or nothing (errorString() says why).
    std::optional<QJsonObject> command(const QString &method, const QJsonObject &params = {},
                                       int timeoutMs = 15000)
    {
        const int id = ++m_lastId;
        QJsonObject call{{QStringLiteral("id"), id}, {QStringLiteral("method"), method}};
        if (!params.isEmpty())
            call.insert(QStringLiteral("params"), params);
        m_socket.sendTextMessage(QString::fromUtf8(QJsonDocument(call).toJson(QJsonDocument::Compact)));
        if (!until([&] { return m_replies.contains(id); }, timeoutMs)) {
            fail(method + QStringLiteral(": no answer in %1 ms").arg(timeoutMs));
            return std::nullopt;
        }
        const QJsonObject reply = m_replies.take(id);
        if (reply.contains(QStringLiteral("error"))) {
            fail(method + QStringLiteral(": ") + reply[QStringLiteral("error")][QStringLiteral("message")].toString());
            return std::nullopt;
        }
        return reply[QStringLiteral("result")].toObject();
    }

    // Opens url and waits for its load event.
    bool navigate(const QUrl &url, int timeoutMs = 15000)
    {
        const int loads = m_loads;
        const auto r = command(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url.toString()}}, timeoutMs);
        if (!r)
            return false;
        if (r->contains(QStringLiteral("errorText")))
            return fail(QStringLiteral("navigate: ") + (*r)[QStringLiteral("errorText")].toString());
        return until([&] { return m_loads > loads; }, timeoutMs)
                || fail(QStringLiteral("no load event for ") + url.toString());
    }
    bool reload(int timeoutMs = 15000)
    {
        const int loads = m_loads;
        return command(QStringLiteral("Page.reload")).has_value()
                && (until([&] { return m_loads > loads; }, timeoutMs) || fail(QStringLiteral("no load event on reload")));
    }

    // The value of a JavaScript expression (promises awaited); Undefined
    // with errorString() set when it threw.
    QJsonValue evaluate(const QString &js, int timeoutMs = 15000)
    {
        const auto r = command(QStringLiteral("Runtime.evaluate"),
                               {{QStringLiteral("expression"), js},
                                {QStringLiteral("returnByValue"), true},
                                {QStringLiteral("awaitPromise"), true}}, timeoutMs);
        if (!r)
            return QJsonValue(QJsonValue::Undefined);
        if (r->contains(QStringLiteral("exceptionDetails"))) {
            const QJsonObject ex = (*r)[QStringLiteral("exceptionDetails")].toObject();
            const QString text = ex[QStringLiteral("exception")][QStringLiteral("description")].toString();
            fail(text.isEmpty() ? ex[QStringLiteral("text")].toString() : text);
            return QJsonValue(QJsonValue::Undefined);
        }
        return (*r)[QStringLiteral("result")][QStringLiteral("value")];
    }

    // Polls a JavaScript condition until it is truthy. On timeout the
    // errorString() names the condition and its last value.
    bool waitFor(const QString &condition, int timeoutMs = 15000, int everyMs = 50)
    {
        const QString js = QStringLiteral("!!(%1)").arg(condition);
        if (until([&] { return evaluate(js).toBool(); }, timeoutMs, everyMs))
            return true;
        return fail(QStringLiteral("still false after %1 ms: %2 (%3)").arg(timeoutMs).arg(condition, m_error));
    }

    // Gives a file input files, as a person choosing them would (the page
    // sees its change event); several for an input that takes `multiple`.
    bool setFileInput(const QString &selector, const QStringList &paths)
    {
        const auto doc = command(QStringLiteral("DOM.getDocument"), {{QStringLiteral("depth"), 0}});
        if (!doc)
            return false;
        const auto node = command(QStringLiteral("DOM.querySelector"),
                                  {{QStringLiteral("nodeId"), (*doc)[QStringLiteral("root")][QStringLiteral("nodeId")]},
                                   {QStringLiteral("selector"), selector}});
        if (!node)
            return false;
        if ((*node)[QStringLiteral("nodeId")].toInt() == 0)
            return fail(QStringLiteral("no element ") + selector);
        QJsonArray files;
        for (const QString &path : paths)
            files.append(QDir(path).absolutePath());
        return command(QStringLiteral("DOM.setFileInputFiles"),
                       {{QStringLiteral("nodeId"), (*node)[QStringLiteral("nodeId")]},
                        {QStringLiteral("files"), files}}).has_value();
    }

    bool click(const QString &selector)
    {
        const QJsonValue r = evaluate(QStringLiteral("(() => { const e = document.querySelector(%1);"
                                                     " if (!e) return false; e.click(); return true; })()")
                                      .arg(quoted(selector)));
        return r.toBool() || fail(QStringLiteral("no element to click: ") + selector);
    }
    // Sets an input's value and fires input and change, as typing would.
    bool fill(const QString &selector, const QString &value)
    {
        const QJsonValue r = evaluate(QStringLiteral("(() => { const e = document.querySelector(%1);"
                                                     " if (!e) return false; e.value = %2;"
                                                     " e.dispatchEvent(new Event('input', {bubbles: true}));"
                                                     " e.dispatchEvent(new Event('change', {bubbles: true}));"
                                                     " return true; })()")
                                      .arg(quoted(selector), quoted(value)));
        return r.toBool() || fail(QStringLiteral("no element to fill: ") + selector);
    }

    // The page at width x height CSS pixels as a PNG file.
    bool screenshot(const QString &path, int width, int height)
    {
        if (!command(QStringLiteral("Emulation.setDeviceMetricsOverride"),
                     {{QStringLiteral("width"), width}, {QStringLiteral("height"), height},
                      {QStringLiteral("deviceScaleFactor"), 1}, {QStringLiteral("mobile"), false}}))
            return false;
        const auto shot = command(QStringLiteral("Page.captureScreenshot"), {{QStringLiteral("format"), QStringLiteral("png")}}, 30000);
        if (!shot)
            return false;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return fail(QStringLiteral("cannot write ") + path);
        f.write(QByteArray::fromBase64((*shot)[QStringLiteral("data")].toString().toLatin1()));
        return true;
    }

    // A JavaScript string literal for text.
    static QString quoted(const QString &text)
    {
        const QJsonArray one{text};
        const QString json = QString::fromUtf8(QJsonDocument(one).toJson(QJsonDocument::Compact));
        return json.mid(1, json.size() - 2);
    }

    // Serves events until done() holds or timeoutMs pass.
    static bool until(const std::function<bool()> &done, int timeoutMs, int everyMs = 10)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > timeoutMs)
                return false;
            QTest::qWait(everyMs);
        }
        return true;
    }

private:
    bool fail(const QString &why)
    {
        m_error = why;
        return false;
    }

    void received(const QString &text)
    {
        const QJsonObject msg = QJsonDocument::fromJson(text.toUtf8()).object();
        if (msg.contains(QStringLiteral("id"))) {
            if (m_unawaited.remove(msg[QStringLiteral("id")].toInt()))
                return;
            m_replies.insert(msg[QStringLiteral("id")].toInt(), msg);
            return;
        }
        const QString method = msg[QStringLiteral("method")].toString();
        const QJsonObject params = msg[QStringLiteral("params")].toObject();
        if (method == QLatin1String("Page.loadEventFired")) {
            ++m_loads;
        } else if (method == QLatin1String("Page.javascriptDialogOpening")) {
            // confirm() blocks the page, and with it any evaluate() that
            // clicked: answered at once, as a person who agrees would.
            log(QStringLiteral("dialog: ") + params[QStringLiteral("message")].toString());
            m_unawaited.insert(++m_lastId);
            const QJsonObject answer{{QStringLiteral("id"), m_lastId},
                                     {QStringLiteral("method"), QStringLiteral("Page.handleJavaScriptDialog")},
                                     {QStringLiteral("params"), QJsonObject{{QStringLiteral("accept"), true}}}};
            m_socket.sendTextMessage(QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact)));
        } else if (method == QLatin1String("Runtime.consoleAPICalled")) {
            QStringList parts;
            for (const QJsonValue &a : params[QStringLiteral("args")].toArray())
                parts << (a[QStringLiteral("value")].isUndefined() ? a[QStringLiteral("description")].toString()
                                                                   : a[QStringLiteral("value")].toVariant().toString());
            log(params[QStringLiteral("type")].toString() + QStringLiteral(": ") + parts.join(QLatin1Char(' ')));
        } else if (method == QLatin1String("Runtime.exceptionThrown")) {
            const QJsonObject ex = params[QStringLiteral("exceptionDetails")].toObject();
            log(QStringLiteral("exception: ") + ex[QStringLiteral("exception")][QStringLiteral("description")].toString(
                        ex[QStringLiteral("text")].toString()));
        }
    }

    void log(const QString &line)
    {
        m_console << line;
        if (m_console.size() > 200)
            m_console.removeFirst();
    }

    QByteArray httpGet(const QUrl &url, int timeoutMs)
    {
        QNetworkAccessManager net;
        QNetworkReply *reply = net.get(QNetworkRequest(url));
        until([&] { return reply->isFinished(); }, timeoutMs);
        const QByteArray body = reply->readAll();
        reply->deleteLater();
        return body;
    }

    QTemporaryDir m_profile;
    QProcess m_process;
    QByteArray m_output;
    QWebSocket m_socket;
    QHash<int, QJsonObject> m_replies;
    QSet<int> m_unawaited;
    QStringList m_console;
    QString m_error;
    int m_lastId = 0;
    int m_loads = 0;
};
