#pragma once

#include "JobReport.h"
#include "interface/VXDeviceInterface.h"

#include <QPointer>
#include <QPolygonF>
#include <QVector>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class PlotPreview;

// A plot job: the file with its preview and facts, the copies, the job
// commands, and the progress the machine reports.
class JobPanel : public QWidget
{
    Q_OBJECT
public:
    explicit JobPanel(QWidget *parent = nullptr);

    // The plot stays loaded across devices.
    void setDevice(VXDeviceInterface *device);

    bool loadPlot(const QString &fileName, QString *error = nullptr);
    bool hasPlot() const { return !m_plot.isEmpty(); }
    bool isRunning() const { return m_running; }
    // Millimetres.
    double plotWidth() const { return m_width; }
    double plotHeight() const { return m_height; }
    double pathLength() const { return m_pathLength; }

    void setCopies(int copies);
    int copies() const;

public slots:
    void openPlot();
    void start();
    void pause();
    void resume();
    void stop();
    // A DevTasK text from the device.
    void handleReport(const QString &text);

signals:
    void logMessage(const QString &text);
    void jobFinished();

private:
    void sendWrite(const char *key);
    void setRunning(bool running);
    void publishFileFacts();

    QPointer<VXDeviceInterface> m_device;
    PlotPreview *m_preview = nullptr;
    QLabel *m_file = nullptr;
    QLabel *m_size = nullptr;
    QLabel *m_length = nullptr;
    QSpinBox *m_copies = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_pause = nullptr;
    QPushButton *m_resume = nullptr;
    QPushButton *m_stop = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_done = nullptr;

    QString m_plot;                 // job text as it goes to the machine
    QString m_fileName;
    QVector<QPolygonF> m_paths;     // plot units, for the stored preview
    double m_width = 0;
    double m_height = 0;
    double m_pathLength = 0;
    bool m_running = false;
};
