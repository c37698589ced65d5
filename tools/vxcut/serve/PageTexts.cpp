// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PageTexts.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTranslator>

#include <algorithm>
#include <memory>

namespace {

struct Text
{
    const char *key;
    const char *english;
};

// The page's words. Keys are what shop.js asks for; %1, %2 are filled in
// there, with numbers and times already in the reader's locale. Keys ending
// in .one/.other are chosen by the count's plural category in the page's
// language; languages without a singular (Chinese, Japanese) read .other.
const Text kTexts[] = {
    {"title", QT_TRANSLATE_NOOP("ShopPage", "Shop floor")},
    {"tab.machines", QT_TRANSLATE_NOOP("ShopPage", "Machines")},
    {"tab.journal", QT_TRANSLATE_NOOP("ShopPage", "Journal")},
    {"offline", QT_TRANSLATE_NOOP("ShopPage", "Offline: the page is not getting news from the service. Reconnecting…")},
    {"auth.needed", QT_TRANSLATE_NOOP("ShopPage", "This service needs its token: open the page as /?token=TOKEN")},
    {"notice.failed", QT_TRANSLATE_NOOP("ShopPage", "Not done: %1")},
    {"link.connecting", QT_TRANSLATE_NOOP("ShopPage", "connecting")},
    {"link.up", QT_TRANSLATE_NOOP("ShopPage", "connected")},
    {"link.reconnecting", QT_TRANSLATE_NOOP("ShopPage", "reconnecting")},
    {"link.down", QT_TRANSLATE_NOOP("ShopPage", "not connected")},
    {"machine.target", QT_TRANSLATE_NOOP("ShopPage", "at %1")},
    {"machine.device", QT_TRANSLATE_NOOP("ShopPage", "machine no. %1")},
    {"machine.area", QT_TRANSLATE_NOOP("ShopPage", "work area %1 × %2 mm")},
    {"machine.paused", QT_TRANSLATE_NOOP("ShopPage", "held: no new job starts")},
    {"job.none", QT_TRANSLATE_NOOP("ShopPage", "No job on the machine.")},
    {"job.copy", QT_TRANSLATE_NOOP("ShopPage", "Copy %1 of %2")},
    {"job.whole", QT_TRANSLATE_NOOP("ShopPage", "Whole job")},
    {"job.noPreview", QT_TRANSLATE_NOOP("ShopPage", "No preview")},
    {"job.remaining", QT_TRANSLATE_NOOP("ShopPage", "%1 left")},
    {"job.window", QT_TRANSLATE_NOOP("ShopPage", "Window %1 of %2")},
    {"job.nesting", QT_TRANSLATE_NOOP("ShopPage", "Nesting…")},
    {"phase.cutting", QT_TRANSLATE_NOOP("ShopPage", "cutting")},
    {"phase.nesting", QT_TRANSLATE_NOOP("ShopPage", "nesting")},
    {"phase.paused", QT_TRANSLATE_NOOP("ShopPage", "paused")},
    {"phase.reconnecting", QT_TRANSLATE_NOOP("ShopPage", "waiting for the link")},
    {"phase.stopping", QT_TRANSLATE_NOOP("ShopPage", "stopping")},
    {"state.queued", QT_TRANSLATE_NOOP("ShopPage", "queued")},
    {"state.cutting", QT_TRANSLATE_NOOP("ShopPage", "cutting")},
    {"state.held", QT_TRANSLATE_NOOP("ShopPage", "held")},
    {"state.done", QT_TRANSLATE_NOOP("ShopPage", "done")},
    {"state.failed", QT_TRANSLATE_NOOP("ShopPage", "failed")},
    {"state.cancelled", QT_TRANSLATE_NOOP("ShopPage", "cancelled")},
    {"action.pause", QT_TRANSLATE_NOOP("ShopPage", "Pause")},
    {"action.continue", QT_TRANSLATE_NOOP("ShopPage", "Continue")},
    {"action.stop", QT_TRANSLATE_NOOP("ShopPage", "Stop")},
    {"action.hold", QT_TRANSLATE_NOOP("ShopPage", "Hold the queue")},
    {"action.release", QT_TRANSLATE_NOOP("ShopPage", "Release the queue")},
    {"action.up", QT_TRANSLATE_NOOP("ShopPage", "Up")},
    {"action.down", QT_TRANSLATE_NOOP("ShopPage", "Down")},
    {"action.cancel", QT_TRANSLATE_NOOP("ShopPage", "Cancel")},
    {"action.recut", QT_TRANSLATE_NOOP("ShopPage", "Cut the copy again")},
    {"action.skip", QT_TRANSLATE_NOOP("ShopPage", "Skip the copy")},
    {"action.add", QT_TRANSLATE_NOOP("ShopPage", "Add to the queue")},
    {"action.nest", QT_TRANSLATE_NOOP("ShopPage", "Nest and queue")},
    {"confirm.stop", QT_TRANSLATE_NOOP("ShopPage", "Stop the job on %1 now?")},
    {"confirm.cancel", QT_TRANSLATE_NOOP("ShopPage", "Cancel this job?")},
    {"queue.title", QT_TRANSLATE_NOOP("ShopPage", "Queue")},
    {"queue.empty", QT_TRANSLATE_NOOP("ShopPage", "Nothing queued.")},
    {"queue.ended", QT_TRANSLATE_NOOP("ShopPage", "Recently ended")},
    {"copies.one", QT_TRANSLATE_NOOP("ShopPage", "%1 copy")},
    {"copies.other", QT_TRANSLATE_NOOP("ShopPage", "%1 copies")},
    {"copiesCut.one", QT_TRANSLATE_NOOP("ShopPage", "%1 of %2 copy cut")},
    {"copiesCut.other", QT_TRANSLATE_NOOP("ShopPage", "%1 of %2 copies cut")},
    {"kind.nest", QT_TRANSLATE_NOOP("ShopPage", "nest")},
    {"parts.one", QT_TRANSLATE_NOOP("ShopPage", "%1 part")},
    {"parts.other", QT_TRANSLATE_NOOP("ShopPage", "%1 parts")},
    {"queue.added", QT_TRANSLATE_NOOP("ShopPage", "added by %1, %2")},
    {"add.file", QT_TRANSLATE_NOOP("ShopPage", "Design file")},
    {"add.copies", QT_TRANSLATE_NOOP("ShopPage", "Copies")},
    {"add.choose", QT_TRANSLATE_NOOP("ShopPage", "Choose a design file first.")},
    {"add.pick", QT_TRANSLATE_NOOP("ShopPage", "Choose a file…")},
    {"add.drop", QT_TRANSLATE_NOOP("ShopPage", "Drop the design file to add it to the queue of %1")},
    {"add.dropHint", QT_TRANSLATE_NOOP("ShopPage", "or drop a design file on the card")},
    {"nest.open", QT_TRANSLATE_NOOP("ShopPage", "Nest parts…")},
    {"nest.files", QT_TRANSLATE_NOOP("ShopPage", "Part files")},
    {"nest.pick", QT_TRANSLATE_NOOP("ShopPage", "Choose part files…")},
    {"nest.hint", QT_TRANSLATE_NOOP("ShopPage", "several part files, each with its quantity, laid out together")},
    {"nest.chosen.one", QT_TRANSLATE_NOOP("ShopPage", "%1 part file")},
    {"nest.chosen.other", QT_TRANSLATE_NOOP("ShopPage", "%1 part files")},
    {"nest.quantity", QT_TRANSLATE_NOOP("ShopPage", "Quantity")},
    {"nest.quantityOf", QT_TRANSLATE_NOOP("ShopPage", "Quantity of %1")},
    {"nest.gap", QT_TRANSLATE_NOOP("ShopPage", "Gap (mm)")},
    {"nest.seconds", QT_TRANSLATE_NOOP("ShopPage", "Search (s)")},
    {"nest.choose", QT_TRANSLATE_NOOP("ShopPage", "Choose the part files first.")},
    {"nest.tooMany", QT_TRANSLATE_NOOP("ShopPage", "A nest takes at most %1 part files.")},
    {"events.title", QT_TRANSLATE_NOOP("ShopPage", "Last events")},
    {"journal.machine", QT_TRANSLATE_NOOP("ShopPage", "Machine")},
    {"journal.outcome", QT_TRANSLATE_NOOP("ShopPage", "Outcome")},
    {"journal.file", QT_TRANSLATE_NOOP("ShopPage", "File name contains")},
    {"journal.all", QT_TRANSLATE_NOOP("ShopPage", "All")},
    {"journal.refresh", QT_TRANSLATE_NOOP("ShopPage", "Show")},
    {"journal.when", QT_TRANSLATE_NOOP("ShopPage", "Started")},
    {"journal.fileName", QT_TRANSLATE_NOOP("ShopPage", "File")},
    {"journal.copies", QT_TRANSLATE_NOOP("ShopPage", "Copies")},
    {"journal.duration", QT_TRANSLATE_NOOP("ShopPage", "Took")},
    {"journal.empty", QT_TRANSLATE_NOOP("ShopPage", "No jobs match.")},
    {"outcome.finished", QT_TRANSLATE_NOOP("ShopPage", "finished")},
    {"outcome.stopped", QT_TRANSLATE_NOOP("ShopPage", "stopped")},
    {"outcome.refused", QT_TRANSLATE_NOOP("ShopPage", "refused")},
    {"outcome.interrupted", QT_TRANSLATE_NOOP("ShopPage", "interrupted")},
    {"outcome.skipped", QT_TRANSLATE_NOOP("ShopPage", "skipped")},
};

const char *const kTranslated[] = {"zh_CN", "ja_JP"};

// "ja-JP" -> "ja_JP" and the like; empty when none of ours.
QString ours(QString tag)
{
    tag = tag.trimmed().toLower().replace(QLatin1Char('-'), QLatin1Char('_'));
    if (tag.startsWith(QLatin1String("ja")))
        return QStringLiteral("ja_JP");
    // Traditional script readers are not served the simplified one.
    if (tag == QLatin1String("zh") || tag.startsWith(QLatin1String("zh_cn")) || tag.startsWith(QLatin1String("zh_hans"))
        || tag.startsWith(QLatin1String("zh_sg")))
        return QStringLiteral("zh_CN");
    if (tag.startsWith(QLatin1String("en")))
        return QStringLiteral("en");
    return QString();
}

QByteArray build(const QString &language, const QTranslator *translator)
{
    QJsonObject texts;
    for (const Text &t : kTexts) {
        const QString translated = translator ? translator->translate("ShopPage", t.english) : QString();
        texts.insert(QLatin1String(t.key), translated.isEmpty() ? QString::fromUtf8(t.english) : translated);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("lang"), language}, {QStringLiteral("texts"), texts}})
        .toJson(QJsonDocument::Compact);
}

}

PageTexts::PageTexts()
{
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    m_answers.insert(QStringLiteral("en"), build(QStringLiteral("en"), nullptr));
    for (const char *language : kTranslated) {
        // Not installed: the operator's language stays the process's.
        auto translator = std::make_unique<QTranslator>();
        const bool loaded = translator->load(QStringLiteral("vxcut_") + QLatin1String(language), dir);
        m_answers.insert(QLatin1String(language), build(QLatin1String(language), loaded ? translator.get() : nullptr));
    }
}

QStringList PageTexts::languages()
{
    QStringList out{QStringLiteral("en")};
    for (const char *language : kTranslated)
        out << QLatin1String(language);
    return out;
}

QString PageTexts::pick(const QString &lang, const QByteArray &acceptLanguage)
{
    if (!lang.isEmpty()) {
        const QString chosen = ours(lang);
        return chosen.isEmpty() ? QStringLiteral("en") : chosen;
    }
    // "fr-CH, ja;q=0.9, en;q=0.8": by weight, the first of ours; at most 16 looked at.
    struct Choice { QString tag; double q; };
    QList<Choice> choices;
    const QList<QByteArray> parts = acceptLanguage.left(1024).split(',');
    for (int i = 0; i < parts.size() && i < 16; ++i) {
        const QList<QByteArray> fields = parts.at(i).split(';');
        double q = 1;
        for (const QByteArray &f : fields.mid(1)) {
            const QByteArray field = f.trimmed();
            if (field.startsWith("q="))
                q = field.mid(2).toDouble();
        }
        if (q > 0)
            choices.append({QString::fromLatin1(fields.constFirst()), q});
    }
    std::stable_sort(choices.begin(), choices.end(), [](const Choice &a, const Choice &b) { return a.q > b.q; });
    for (const Choice &c : choices) {
        const QString chosen = ours(c.tag);
        if (!chosen.isEmpty())
            return chosen;
    }
    return QStringLiteral("en");
}

QByteArray PageTexts::answer(const QString &language) const
{
    return m_answers.value(language, m_answers.value(QStringLiteral("en")));
}
