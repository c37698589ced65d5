// SPDX-License-Identifier: LGPL-2.1-or-later
// The shop page as a person uses it: the real `vxcut serve` program in its
// own process, a headless Chromium on its page, and the machines simulated
// in this process, so what each machine was handed can be counted.
#include "chromium.h"
#include "VXSimulator.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

namespace {

const QString kVxcut = QStringLiteral(VX_BIN_DIR "/vxcut");
const QString kSample = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");
const QString kShapes = QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.plotutils.svg");
const QString kLetters = QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/letters.pstoedit.hpgl");
const QString kCorpus = QStringLiteral(VX_SOURCE_DIR "/tests/data/corpus/");
const QStringList kParts{kCorpus + QStringLiteral("dxf_circles_arcs.dxf"), kCorpus + QStringLiteral("dxf_bulges.dxf")};

// One `vxcut serve` run over a data folder that outlives it.
class Service
{
public:
    ~Service() { stop(SIGTERM); }

    bool start(const QString &data, const QList<const VXSimulator *> &machines)
    {
        QStringList args{QStringLiteral("serve"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                         QStringLiteral("--data"), data};
        char name = 'a';
        for (const VXSimulator *sim : machines)
            args << QStringLiteral("--machine") << QStringLiteral("%1@127.0.0.1:%2").arg(QChar(name++)).arg(sim->serverPort());
        m_out.clear();
        m_url.clear();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(kVxcut, args);
        const QByteArray prefix("serving on ");
        Chromium::until([&] {
            m_out += m_process.readAllStandardOutput();
            const int at = m_out.indexOf(prefix), end = m_out.indexOf('\n', at);
            if (at >= 0 && end > at)
                m_url = QUrl(QString::fromUtf8(m_out.mid(at + prefix.size(), end - at - prefix.size()).trimmed()));
            return m_url.isValid() || m_process.state() == QProcess::NotRunning;
        }, 20000);
        return m_url.isValid();
    }
    QUrl url() const { return m_url; }
    QString output() const { return QString::fromLocal8Bit(m_out); }

    void stop(int signal)
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(m_process.processId()), signal);
        if (!m_process.waitForFinished(20000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }

private:
    QProcess m_process;
    QByteArray m_out;
    QUrl m_url;
};

QString card(char machine, const QString &inside)
{
    return QStringLiteral(".card[data-machine=\"%1\"] %2").arg(QChar(machine)).arg(inside);
}

// A JavaScript condition: the element is on the page.
QString shown(char machine, const QString &inside)
{
    return QStringLiteral("document.querySelector(%1)").arg(Chromium::quoted(card(machine, inside)));
}

// The entry on the machine is in the job panel, the others in the list.
const QString kEntries = QStringLiteral(":is(.job, ul.queue li)[data-job]");

QString entry(char machine, const QString &id, const QString &state)
{
    return shown(machine, QStringLiteral(":is(.job, ul.queue li)[data-job=\"%1\"][data-state=\"%2\"]").arg(id, state));
}

// The entry ids on a machine's card, in the order shown.
QStringList entryIds(Chromium &page, char machine)
{
    return page.evaluate(QStringLiteral("[...document.querySelectorAll(%1)].map(li => li.dataset.job)")
                         .arg(Chromium::quoted(card(machine, kEntries))))
            .toVariant().toStringList();
}

// Chooses a file and a number of copies on the card and adds it; true once
// the card lists one entry more.
bool addByUpload(Chromium &page, char machine, const QString &path, int copies)
{
    const int before = entryIds(page, machine).size();
    return page.fill(card(machine, QStringLiteral("input.copies")), QString::number(copies))
            && page.setFileInput(card(machine, QStringLiteral("input[type=file]")), QStringList{path})
            && page.click(card(machine, QStringLiteral("button[data-action=add]")))
            && page.waitFor(QStringLiteral("document.querySelectorAll(%1).length > %2")
                            .arg(Chromium::quoted(card(machine, kEntries))).arg(before));
}

// Opens the card's nest control, chooses the part files, gives each its
// quantity and a short search, and sends them; true once the card lists
// one entry more.
bool addNestByPage(Chromium &page, char machine, const QStringList &paths, const QList<int> &quantities)
{
    const int before = entryIds(page, machine).size();
    const QString quantity = QStringLiteral("input.quantity[data-part=\"%1\"]");
    bool ok = page.click(card(machine, QStringLiteral("details.nest > summary")))
            && page.setFileInput(card(machine, QStringLiteral("input[type=file][multiple][data-machine=\"%1\"][data-kind=nest]")
                                                   .arg(QChar(machine))), paths)
            && page.waitFor(shown(machine, quantity.arg(paths.size() - 1)))
            && page.fill(card(machine, QStringLiteral("details.nest input.seconds")), QStringLiteral("0.5"));
    for (int i = 0; ok && i < quantities.size(); ++i)
        ok = page.fill(card(machine, quantity.arg(i)), QString::number(quantities.at(i)));
    return ok && page.click(card(machine, QStringLiteral("button[data-action=nest][data-machine=\"%1\"]").arg(QChar(machine))))
            && page.waitFor(QStringLiteral("document.querySelectorAll(%1).length > %2")
                            .arg(Chromium::quoted(card(machine, kEntries))).arg(before));
}

// What the page and the service said last: the quickest way to a cause.
QString why(Chromium &page)
{
    const QString cards = page.evaluate(QStringLiteral("[...document.querySelectorAll('#machines .card')]"
                                                       ".map(c => c.innerText).join('\\n----\\n')")).toString();
    const QString api = page.evaluate(QStringLiteral("fetch('/api/machines').then(r => 'service answers ' + r.status)"
                                                     ".catch(e => 'service does not answer: ' + e)")).toString();
    return page.errorString() + QLatin1Char('\n') + api + QStringLiteral("\ncards:\n") + cards
            + QStringLiteral("\npage log:\n") + page.console().join(QLatin1Char('\n'));
}

int finishedJobs(const VXSimulator &sim)
{
    int n = 0;
    for (const VXSimJob &j : sim.jobs())
        n += j.status == VXSimJobStatus::Finished;
    return n;
}

// Like QVERIFY, explaining a failure with the page's state (only then:
// gathering it costs round trips).
#define PAGE_VERIFY(condition) \
    do { \
        if (!(condition)) \
            QFAIL(qPrintable(QStringLiteral(#condition "\n") + why(*m_page))); \
    } while (false)

} // namespace

class TestShopPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void addAndCancel();
    void interrupted_data();
    void interrupted();
    void nest();
    void screenshots();

private:
    // Starts the machines, the service on a fresh data folder and the page.
    bool open(int width = 1366, int height = 768);
    QString openFailure() const { return m_page ? m_page->errorString() : m_service->output(); }

    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<VXSimulator> m_a, m_b;
    std::unique_ptr<Service> m_service;
    std::unique_ptr<Chromium> m_page;
};

void TestShopPage::initTestCase()
{
    if (Chromium::binary().isEmpty())
        QSKIP("no chromium on PATH (scripts/deps.sh installs it; VX_CHROMIUM names another)");
    QVERIFY2(QFile::exists(kVxcut), "build the vxcut target first");
}

void TestShopPage::init()
{
    m_page.reset();
    m_service.reset();
    m_a.reset(new VXSimulator);
    m_b.reset(new VXSimulator);
    m_data.reset(new QTemporaryDir);
}

bool TestShopPage::open(int width, int height)
{
    if (!m_a->start(0) || !m_b->start(0))
        return false;
    m_service.reset(new Service);
    if (!m_service->start(m_data->path(), {m_a.get(), m_b.get()}))
        return false;
    m_page.reset(new Chromium);
    return m_page->start(width, height) && m_page->navigate(m_service->url())
            && m_page->waitFor(shown('a', QStringLiteral(".lamp[data-link=up]")) + QStringLiteral(" && ")
                               + shown('b', QStringLiteral(".lamp[data-link=up]")), 20000);
}

// Add by upload, see it cut; hold a queue, cancel the second of two, release.
void TestShopPage::addAndCancel()
{
    m_a->setSpeedup(20);
    m_b->setSpeedup(20);
    QVERIFY2(open(), qPrintable(openFailure()));
    Chromium &page = *m_page;

    PAGE_VERIFY(addByUpload(page, 'a', kSample, 2));
    const QString done = entryIds(page, 'a').value(0);
    PAGE_VERIFY(page.waitFor(entry('a', done, QStringLiteral("done")), 30000));
    QCOMPARE(m_a->jobs().size(), 1);
    QCOMPARE(m_a->jobs().first().copies, 2);
    QCOMPARE(finishedJobs(*m_a), 1);

    PAGE_VERIFY(page.click(card('b', QStringLiteral("button[data-action=hold]"))));
    PAGE_VERIFY(page.waitFor(shown('b', QStringLiteral("button[data-action=release]"))));
    PAGE_VERIFY(addByUpload(page, 'b', kSample, 1));
    PAGE_VERIFY(addByUpload(page, 'b', kShapes, 1));
    const QStringList ids = entryIds(page, 'b');
    QCOMPARE(ids.size(), 2);
    PAGE_VERIFY(page.waitFor(entry('b', ids[1], QStringLiteral("queued"))));
    PAGE_VERIFY(page.click(card('b', QStringLiteral("button[data-action=cancel][data-job=\"%1\"]").arg(ids[1]))));
    PAGE_VERIFY(page.waitFor(entry('b', ids[1], QStringLiteral("cancelled"))));
    QVERIFY(m_b->jobs().isEmpty());   // held: nothing went out

    PAGE_VERIFY(page.click(card('b', QStringLiteral("button[data-action=release]"))));
    PAGE_VERIFY(page.waitFor(entry('b', ids[0], QStringLiteral("done")), 30000));
    QCOMPARE(m_b->jobs().size(), 1);
}

enum class Fault { Terminated, Killed, MachineDropped };
Q_DECLARE_METATYPE(Fault)

void TestShopPage::interrupted_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::newRow("service stopped mid-queue") << Fault::Terminated;
    QTest::newRow("service killed while cutting") << Fault::Killed;
    QTest::newRow("machine drops mid-job") << Fault::MachineDropped;
}

// Two entries, the first cutting when the fault comes: both end done, and
// the machine was handed each exactly once.
void TestShopPage::interrupted()
{
    QFETCH(Fault, fault);
    m_a->setSpeedup(1);   // three copies of the sample: about ten seconds
    QVERIFY2(open(), qPrintable(openFailure()));
    Chromium &page = *m_page;
    PAGE_VERIFY(addByUpload(page, 'a', kSample, 3));
    PAGE_VERIFY(addByUpload(page, 'a', kSample, 1));
    const QStringList ids = entryIds(page, 'a');
    QCOMPARE(ids.size(), 2);
    PAGE_VERIFY(page.waitFor(entry('a', ids[0], QStringLiteral("cutting")), 10000));
    QTRY_VERIFY_WITH_TIMEOUT(m_a->busy() && m_a->jobs().value(0).percent > 0, 10000);

    if (fault == Fault::MachineDropped) {
        m_a->setDownFor(1500);
        m_a->dropLinks();
        PAGE_VERIFY(page.waitFor(shown('a', QStringLiteral(".lamp[data-link=reconnecting]")), 5000));
    } else {
        m_service->stop(fault == Fault::Killed ? SIGKILL : SIGTERM);
        PAGE_VERIFY(page.waitFor(QStringLiteral("!document.getElementById('offline').hidden"), 10000));
        m_service.reset(new Service);
        QVERIFY2(m_service->start(m_data->path(), {m_a.get(), m_b.get()}), qPrintable(m_service->output()));
        PAGE_VERIFY(page.navigate(m_service->url()));
        // The queue is back as it was: the second still waits its turn.
        PAGE_VERIFY(page.waitFor(entry('a', ids[1], QStringLiteral("queued")), 10000));
    }
    m_a->setSpeedup(20);
    for (const QString &id : ids)
        PAGE_VERIFY(page.waitFor(entry('a', id, QStringLiteral("done")), 60000));
    QCOMPARE(m_a->jobs().size(), 2);
    QCOMPARE(finishedJobs(*m_a), 2);
    QCOMPARE(m_a->jobs().first().copies, 3);
}

// Two part files with their quantities, nested and cut from the page: the
// row names each part with its quantity, and every window the machine was
// handed finished.
void TestShopPage::nest()
{
    m_a->setSpeedup(20);
    QVERIFY2(open(), qPrintable(openFailure()));
    Chromium &page = *m_page;
    PAGE_VERIFY(addNestByPage(page, 'a', kParts, {4, 3}));
    const QString id = entryIds(page, 'a').value(0);
    PAGE_VERIFY(page.waitFor(entry('a', id, QStringLiteral("done")), 60000));
    const QString row = card('a', QStringLiteral("li[data-job=\"%1\"][data-kind=nest] .file").arg(id));
    QCOMPARE(page.evaluate(QStringLiteral("document.querySelector(%1).title").arg(Chromium::quoted(row))).toString(),
             QStringLiteral("dxf_circles_arcs.dxf × 4\ndxf_bulges.dxf × 3"));
    QVERIFY(!m_a->jobs().isEmpty());
    QCOMPARE(finishedJobs(*m_a), m_a->jobs().size());
}

// Pictures for the docs, only when asked: VX_SHOP_SCREENSHOTS=<dir>.
void TestShopPage::screenshots()
{
    const QString dir = qEnvironmentVariable("VX_SHOP_SCREENSHOTS");
    if (dir.isEmpty())
        QSKIP("set VX_SHOP_SCREENSHOTS=<dir> to write the docs' pictures");
    m_a->setSpeedup(0.2);
    m_b->setSpeedup(50);
    m_b->setDeviceId(QStringLiteral("VXS-000002"));
    QVERIFY2(open(), qPrintable(openFailure()));
    Chromium &page = *m_page;
    PAGE_VERIFY(addByUpload(page, 'b', kLetters, 1));
    PAGE_VERIFY(page.waitFor(shown('b', QStringLiteral("li[data-state=done]")), 30000));
    PAGE_VERIFY(addByUpload(page, 'a', kShapes, 4));
    PAGE_VERIFY(addByUpload(page, 'a', kSample, 2));
    PAGE_VERIFY(addByUpload(page, 'a', kLetters, 1));
    PAGE_VERIFY(addNestByPage(page, 'a', kParts, {4, 3}));
    PAGE_VERIFY(page.waitFor(shown('a', QStringLiteral(".job[data-phase=cutting] progress[value]"))
                             + QStringLiteral("?.value > 3"), 60000));
    for (const QSize &size : {QSize(1366, 768), QSize(1920, 1080)}) {
        const QString path = QDir(dir).filePath(QStringLiteral("shop-%1x%2.png").arg(size.width()).arg(size.height()));
        PAGE_VERIFY(page.screenshot(path, size.width(), size.height()));
    }
}

QTEST_MAIN(TestShopPage)
#include "tst_shoppage.moc"
