#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class Clock;

// Every frame both ways, the newest Capacity of them, for the frame monitor.
// Adding is cheap (no text is made), so the throttle path does not feel it;
// words are made only for the lines a window shows or saves.
class FrameLog {
public:
    static constexpr std::size_t Capacity = 10000;
    // Longer runs of bad bytes are kept cut to this.
    static constexpr std::size_t MaxBytes = 24;

    struct Entry {
        double seconds = 0.0; // the clock's reading
        bool outgoing = false;
        bool good = true;
        bool cut = false;
        std::uint8_t length = 0;
        // Who sent it, when not the program's own windows: 1 + an index of senders_.
        std::uint16_t sender = 0;
        std::array<std::uint8_t, MaxBytes> bytes{};
    };
    // Distinct senders remembered; later ones are all "a phone".
    static constexpr std::size_t MaxSenders = 1024;

    explicit FrameLog(Clock& clock);

    // `sender` names who sent it when that is not the program's own windows.
    void add(bool outgoing, const QByteArray& bytes, bool good = true, const QString& sender = {});
    // Entries held, oldest first.
    std::size_t size() const { return entries_.size(); }
    const Entry& at(std::size_t index) const;
    // Entries ever added; a window compares it with what it has shown.
    std::uint64_t total() const { return total_; }

    // "15:45:01.123  -> E4 12 00 03 89 7C  loco 3: ..."; "->" to the box, "<-" from it;
    // a frame a phone sent ends in its name: "  (phone "Engine Driver 1")".
    QString line(const Entry& entry) const;
    // Every entry held, one line each, CR LF between.
    QByteArray text() const;

    // Called after each add, e.g. by an open monitor window.
    std::function<void()> onAdded;

private:
    Clock& clock_;
    QDateTime start_;
    double startSeconds_ = 0.0;
    std::uint16_t senderIndex(const QString& sender);

    std::vector<Entry> entries_; // a ring once full
    std::vector<QString> senders_;
    std::size_t oldest_ = 0;
    std::uint64_t total_ = 0;
};
