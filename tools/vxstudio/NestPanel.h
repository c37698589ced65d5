// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "JobJournal.h"
#include "NestSearchRun.h"
#include "PlotOptionsPanel.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class DesignView;
class DeviceQuery;
class DeviceSession;
class NestRun;

// Nesting parts on the material: the part files with their quantities and
// allowed turns, the material (a strip as wide as asked, or as the machine's
// work area; or sheets), the gap and the search time. Run searches off the
// window's thread (NestSearchRun) and Stop keeps the best layout found so
// far; the nest is drawn on its material in a view of the panel's own, with
// its utilisation. Cut hands a strip nest to the host library's NestRun,
// window by window as `vxcut cut --nest` does, journaled for a resume.
//
// The view is the panel's own, not the window's centre: that one shows the
// Job panel's design, which its Start cuts.
class NestPanel : public QWidget
{
    Q_OBJECT
public:
    explicit NestPanel(DeviceSession *session, QWidget *parent = nullptr);
    ~NestPanel() override;

    // A row; rotations as PartList reads them ("0,180", "any:30"), empty: the default turns.
    void addPart(const QString &file, int quantity = 1, const QString &rotations = QString());
    int partCount() const;
    // Parts are read and the nest cut with these options (scale, tolerance, margin...).
    void setOptionsPanel(PlotOptionsPanel *panel) { m_options = panel; }
    void setJournalPath(const QString &path) { m_journal.setPath(path); }
    QString journalPath() const { return m_journal.path(); }

    bool isSearching() const;
    bool isCutting() const;
    bool hasNest() const { return !m_parts.empty(); }
    const NestLayout &layout() const { return m_layout; }
    const std::vector<NestPart> &parts() const { return m_parts; }
    NestRun *cutRun() const { return m_cut; }
    DesignView *view() const { return m_view; }

public slots:
    void chooseParts();
    void removePart();
    void run();
    void stop();
    void cut();

signals:
    void logMessage(const QString &text);

private:
    QWidget *buildParts();
    QWidget *buildMaterial();
    void startSearch();
    bool makeJob(NestSearchJob &job, QString &why) const;
    void onProgress(const NestProgress &p);
    void onSearched();
    void showSheet(int sheet);
    void startCut();
    void onCutEnded();
    void say(const QString &text);
    void updateButtons();

    QPointer<DeviceSession> m_session;
    QPointer<PlotOptionsPanel> m_options;
    QPointer<DeviceQuery> m_read;       // before a cut
    QPointer<DeviceQuery> m_areaRead;   // before a search on the work area's width
    QPointer<NestRun> m_cut;
    NestSearchRun *m_search = nullptr;
    JobJournal m_journal{JobJournal::configuredPath()};
    std::vector<NestPart> m_parts;
    NestLayout m_layout;
    double m_seconds = 0;     // of the search under way

    QTableWidget *m_table = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
    QComboBox *m_material = nullptr;
    QDoubleSpinBox *m_width = nullptr;
    QDoubleSpinBox *m_length = nullptr;
    QDoubleSpinBox *m_gap = nullptr;
    QDoubleSpinBox *m_time = nullptr;
    QCheckBox *m_mirror = nullptr;
    QPushButton *m_run = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_cutButton = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_result = nullptr;
    QSpinBox *m_sheet = nullptr;
    DesignView *m_view = nullptr;
};
