#include "FrameLog.h"

#include "Clock.h"

#include "xpressnet/Describe.h"

#include <algorithm>

FrameLog::FrameLog(Clock& clock)
    : clock_(clock)
    , start_(clock.now())
    , startSeconds_(clock.seconds())
{
}

void FrameLog::add(bool outgoing, const QByteArray& bytes, bool good, const QString& sender)
{
    Entry entry;
    entry.sender = sender.isEmpty() ? 0 : senderIndex(sender);
    entry.seconds = clock_.seconds();
    entry.outgoing = outgoing;
    entry.good = good;
    const auto length = std::min(static_cast<std::size_t>(bytes.size()), MaxBytes);
    entry.cut = length < static_cast<std::size_t>(bytes.size());
    entry.length = static_cast<std::uint8_t>(length);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.constData()), length, entry.bytes.begin());
    if (entries_.size() < Capacity) {
        entries_.push_back(entry);
    } else {
        entries_[oldest_] = entry;
        oldest_ = (oldest_ + 1) % Capacity;
    }
    ++total_;
    if (onAdded)
        onAdded();
}

std::uint16_t FrameLog::senderIndex(const QString& sender)
{
    const auto found = std::find(senders_.begin(), senders_.end(), sender);
    if (found != senders_.end())
        return static_cast<std::uint16_t>(found - senders_.begin() + 1);
    if (senders_.size() >= MaxSenders)
        return static_cast<std::uint16_t>(MaxSenders + 1);
    senders_.push_back(sender);
    return static_cast<std::uint16_t>(senders_.size());
}

const FrameLog::Entry& FrameLog::at(std::size_t index) const
{
    return entries_[(oldest_ + index) % entries_.size()];
}

QString FrameLog::line(const Entry& entry) const
{
    const qint64 ms = static_cast<qint64>((entry.seconds - startSeconds_) * 1000.0);
    const xpressnet::Bytes bytes(entry.bytes.data(), entry.length);
    QString words;
    if (!entry.good)
        words = QStringLiteral("bad bytes, no frame");
    else
        words = QString::fromStdString(entry.outgoing ? xpressnet::describeCommand(bytes) : xpressnet::describeReply(bytes));
    if (entry.sender != 0)
        words += entry.sender <= senders_.size() ? QStringLiteral("  (phone \"%1\")").arg(senders_[entry.sender - 1u])
                                                 : QStringLiteral("  (a phone)");
    return QStringLiteral("%1  %2 %3%4  %5")
        .arg(start_.addMSecs(ms).toString(QStringLiteral("HH:mm:ss.zzz")), entry.outgoing ? QStringLiteral("->") : QStringLiteral("<-"),
             QString::fromStdString(xpressnet::hex(bytes)), entry.cut ? QStringLiteral(" ...") : QString(), words);
}

QByteArray FrameLog::text() const
{
    QByteArray out;
    for (std::size_t i = 0; i < size(); ++i)
        out += line(at(i)).toUtf8() + "\r\n";
    return out;
}
