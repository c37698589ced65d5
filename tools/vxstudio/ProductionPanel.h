// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "DesignSource.h"
#include "JobJournal.h"
#include "PlotOptionsPanel.h"
#include "SheetRun.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class DeviceSession;

// QR-code production: the designs (a folder named by codes or a map file),
// start and stop, the sheets as the machine feeds them (code, design,
// outcome) and the sheet under the knife with its preview. The list keeps
// the last MaxRows sheets, so a shift of thousands stays light.
class ProductionPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MaxRows = 500;

    explicit ProductionPanel(DeviceSession *session, QWidget *parent = nullptr);
    ~ProductionPanel() override;

    // False with the source's errors (each with its line for a map).
    bool setSource(const QString &path, QStringList *errors = nullptr);
    void setCount(int count);
    // VX_JOURNAL, else the user's data folder: the journal vxcut writes.
    void setJournalPath(const QString &path) { m_journal.setPath(path); }
    QString journalPath() const { return m_journal.path(); }
    // Every design is planned with these options, as `vxcut qr` plans with
    // its command line's (the tool rules belong to one design: not taken).
    void setOptionsPanel(PlotOptionsPanel *panel) { m_options = panel; }
    bool isRunning() const { return m_run && m_run->isRunning(); }
    SheetRun *run() const { return m_run; }

public slots:
    void chooseFolder();
    void chooseMap();
    void start();
    void stop();

signals:
    void logMessage(const QString &text);
    void runEnded(SheetRun::End end);

private:
    void showCurrent(const SheetRun::Sheet &sheet);
    void addRow(const SheetRun::Sheet &sheet);
    static QString outcomeText(const SheetRun::Sheet &sheet);
    void updateButtons();

    QPointer<DeviceSession> m_session;
    QPointer<SheetRun> m_run;
    DesignSource m_source;
    JobJournal m_journal{JobJournal::configuredPath()};
    QPointer<PlotOptionsPanel> m_options;
    QLineEdit *m_path = nullptr;
    QSpinBox *m_count = nullptr;
    QPushButton *m_folder = nullptr;
    QPushButton *m_map = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QTableWidget *m_sheets = nullptr;
    QLabel *m_preview = nullptr;
    QLabel *m_current = nullptr;
    QProgressBar *m_percent = nullptr;
    QLabel *m_tally = nullptr;
};
