#include "FrameMonitor.h"

#include "Clock.h"
#include "DataFile.h"
#include "Dialogs.h"
#include "FrameLog.h"

#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

FrameMonitor::FrameMonitor(FrameLog& log, Clock& clock, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , log_(log)
    , dialogs_(dialogs)
    , refreshTimer_(clock.createTimer([this] { refresh(); }))
{
    setObjectName(QStringLiteral("FrameMonitor"));
    setWindowTitle(QStringLiteral("DCC frame monitor"));
    resize(760, 420);

    auto* layout = new QVBoxLayout(this);
    txtFrames = new QPlainTextEdit(this);
    txtFrames->setObjectName(QStringLiteral("txtFrames"));
    txtFrames->setReadOnly(true);
    txtFrames->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtFrames->setMaximumBlockCount(static_cast<int>(FrameLog::Capacity));
    txtFrames->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(txtFrames, 1);

    auto* row = new QHBoxLayout;
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    cmdPause = new QPushButton(QStringLiteral("pause"), this);
    cmdPause->setObjectName(QStringLiteral("cmdPause"));
    cmdPause->setToolTip(QStringLiteral("stop the view moving; the log goes on"));
    cmdSave = new QPushButton(QStringLiteral("save..."), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setToolTip(QStringLiteral("write the log (the last 10,000 frames) to a text file"));
    row->addWidget(lblCount, 1);
    row->addWidget(cmdPause);
    row->addWidget(cmdSave);
    layout->addLayout(row);
    connect(cmdPause, &QPushButton::clicked, this, [this] { cmdPause_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });

    log_.onAdded = [this] { added(); };
}

FrameMonitor::~FrameMonitor()
{
    log_.onAdded = {};
}

void FrameMonitor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void FrameMonitor::added()
{
    // One refresh for a burst of frames, and none while nobody looks.
    if (!Paused && isVisible() && !refreshTimer_->isActive())
        refreshTimer_->start(RefreshMs);
}

void FrameMonitor::refresh()
{
    refreshTimer_->stop();
    lblCount->setText(QStringLiteral("%1 frames, the last %2 kept").arg(log_.total()).arg(log_.size()));
    if (Paused || shown_ == log_.total())
        return;
    const std::uint64_t missed = log_.total() - shown_;
    std::size_t first = log_.size() - static_cast<std::size_t>(std::min<std::uint64_t>(missed, log_.size()));
    if (missed > log_.size())
        txtFrames->clear();
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(log_.size() - first));
    for (std::size_t i = first; i < log_.size(); ++i)
        lines << log_.line(log_.at(i));
    txtFrames->appendPlainText(lines.join(QLatin1Char('\n')));
    shown_ = log_.total();
}

void FrameMonitor::cmdPause_Click()
{
    Paused = !Paused;
    cmdPause->setText(Paused ? QStringLiteral("go on") : QStringLiteral("pause"));
    if (!Paused)
        refresh();
}

void FrameMonitor::cmdSave_Click()
{
    const QString path = dialogs_.saveFileName(QStringLiteral("Save the frame log"),
                                               QDir::home().filePath(QStringLiteral("varnolix-frames.txt")));
    if (path.isEmpty())
        return;
    // The user's own file, not a data file: no size rule keeps it.
    dialogs_.reportUnsaved(data_file::replaceFile(path, log_.text()), QStringLiteral("The log was not saved."));
}
