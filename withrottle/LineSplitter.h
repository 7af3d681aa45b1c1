#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Cuts a phone's byte stream into lines: LF, CR and CR LF all end a line,
// empty lines are dropped, a line may arrive in pieces or several in one
// piece. A line longer than the limit marks the stream as over-long; the
// session then closes it, so a phone can never make the program hoard bytes.
namespace withrottle {

class LineSplitter {
public:
    explicit LineSplitter(int maxLineBytes);

    // The whole lines completed by `bytes`, decoded as UTF-8.
    QStringList feed(const QByteArray& bytes);
    bool overLong() const { return overLong_; }

private:
    int maxLineBytes_;
    QByteArray partial_;
    bool overLong_ = false;
};

} // namespace withrottle
