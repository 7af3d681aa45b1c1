#include "LineSplitter.h"

namespace withrottle {

LineSplitter::LineSplitter(int maxLineBytes)
    : maxLineBytes_(maxLineBytes)
{
}

QStringList LineSplitter::feed(const QByteArray& bytes)
{
    QStringList lines;
    if (overLong_)
        return lines;
    for (const char c : bytes) {
        if (c == '\n' || c == '\r') {
            if (!partial_.isEmpty())
                lines << QString::fromUtf8(partial_);
            partial_.clear();
            continue;
        }
        if (partial_.size() >= maxLineBytes_) {
            overLong_ = true;
            partial_.clear();
            return lines;
        }
        partial_.append(c);
    }
    return lines;
}

} // namespace withrottle
