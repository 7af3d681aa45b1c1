#include "SimulatedBoard.h"

#include "BoardWords.h"
#include "Clock.h"

#include <algorithm>
#include <cmath>

using namespace k8055;

SimulatedBoard::SimulatedBoard(const Clock& clock)
    : clock_(clock)
{
}

bool SimulatedBoard::present() const
{
    return openAddress_ >= 0 && cards_.contains(openAddress_);
}

bool SimulatedBoard::open(std::uint16_t vendorId, std::uint16_t productId)
{
    close();
    const int address = productId - FirstProductId;
    if (vendorId != VendorId || !cards_.contains(address)) {
        error_ = QStringLiteral("no such device");
        say(QStringLiteral("no card at address %1").arg(address));
        return false;
    }
    openAddress_ = address;
    ++opens_;
    error_.clear();
    // A freshly opened handle holds one report straight away.
    queue_.clear();
    inputs_.status = address + statusOffset_;
    queue_.push_back(buildInputReport(inputs_));
    nextReportAt_ = clock_.seconds() + ReportPeriod;
    say(QStringLiteral("card %1 opened").arg(address));
    return true;
}

void SimulatedBoard::close()
{
    if (openAddress_ < 0)
        return;
    say(QStringLiteral("card %1 closed").arg(openAddress_));
    openAddress_ = -1;
    queue_.clear();
}

int SimulatedBoard::write(std::span<const std::uint8_t> report)
{
    if (!present()) {
        error_ = QStringLiteral("device disconnected");
        return -1;
    }
    if (report.size() != WrittenReport{}.size()) {
        error_ = QStringLiteral("a report must be %1 bytes").arg(WrittenReport{}.size());
        return -1;
    }
    WrittenReport copy{};
    std::copy(report.begin(), report.end(), copy.begin());
    written_.push_back(copy);
    if (copy[0] != 0) {
        say(QStringLiteral("report id %1 ignored").arg(copy[0]));
        return static_cast<int>(report.size());
    }
    OutputReport bytes{};
    std::copy(copy.begin() + 1, copy.end(), bytes.begin());
    apply(bytes);
    return static_cast<int>(report.size());
}

void SimulatedBoard::apply(const OutputReport& report)
{
    const OutputState told = outputsOf(report);
    switch (static_cast<Command>(report[0])) {
    case Command::SetOutputs: {
        OutputState next = outputs_;
        next.digital = told.digital;
        next.analog1 = told.analog1;
        next.analog2 = told.analog2;
        const QStringList words = describeOutputChanges(outputs_, next);
        outputs_ = next;
        if (!words.isEmpty())
            changes_.push_back({clock_.seconds(), outputs_});
        for (const QString& line : words)
            say(line);
        break;
    }
    case Command::SetDebounce1:
        outputs_.debounce1 = told.debounce1;
        say(QStringLiteral("counter 1 debounce code %1").arg(told.debounce1));
        break;
    case Command::SetDebounce2:
        outputs_.debounce2 = told.debounce2;
        say(QStringLiteral("counter 2 debounce code %1").arg(told.debounce2));
        break;
    case Command::ResetCounter1:
    case Command::ResetCounter2: {
        const int counter = report[0] == 3 ? 1 : 2;
        setCounter(counter, 0);
        say(QStringLiteral("counter %1 reset").arg(counter));
        break;
    }
    default:
        say(QStringLiteral("command %1 ignored").arg(report[0]));
        break;
    }
}

int SimulatedBoard::read(std::span<std::uint8_t> buffer, int /*timeoutMs*/)
{
    // Never blocks: a test's clock stands still while nothing waits on it.
    if (!present()) {
        error_ = QStringLiteral("device disconnected");
        return -1;
    }
    queueDueReports();
    if (queue_.empty())
        return 0;
    const InputReport report = queue_.front();
    queue_.pop_front();
    const std::size_t size = std::min(buffer.size(), report.size());
    std::copy_n(report.begin(), size, buffer.begin());
    return static_cast<int>(size);
}

void SimulatedBoard::queueDueReports()
{
    const double now = clock_.seconds();
    if (now < nextReportAt_)
        return;
    // Only the last QueueLimit reports can still be queued; older ones were dropped.
    const double due = std::floor((now - nextReportAt_) / ReportPeriod) + 1;
    const int count = static_cast<int>(std::min<double>(due, QueueLimit));
    const InputReport report = buildInputReport(inputs_);
    for (int i = 0; i < count; ++i)
        queue_.push_back(report);
    while (queue_.size() > QueueLimit)
        queue_.pop_front();
    nextReportAt_ += due * ReportPeriod;
}

void SimulatedBoard::plugIn(int cardAddress)
{
    cards_.insert(cardAddress);
}

void SimulatedBoard::unplug(int cardAddress)
{
    cards_.erase(cardAddress);
    if (cardAddress == openAddress_)
        say(QStringLiteral("card %1 unplugged").arg(cardAddress));
}

void SimulatedBoard::beforeInputChange()
{
    if (present())
        queueDueReports();
}

void SimulatedBoard::setDigitalInputs(int inputs)
{
    beforeInputChange();
    inputs_.digital = inputs & 0x1F;
}

void SimulatedBoard::setAnalogInputs(int analog1, int analog2)
{
    beforeInputChange();
    inputs_.analog1 = std::clamp(analog1, 0, 255);
    inputs_.analog2 = std::clamp(analog2, 0, 255);
}

void SimulatedBoard::setCounter(int counter, int value)
{
    beforeInputChange();
    const int wrapped = value & 0xFFFF;
    if (counter == 1)
        inputs_.counter1 = wrapped;
    else if (counter == 2)
        inputs_.counter2 = wrapped;
}

void SimulatedBoard::countPulses(int counter, int pulses)
{
    setCounter(counter, (counter == 1 ? inputs_.counter1 : inputs_.counter2) + pulses);
}

void SimulatedBoard::say(const QString& words) const
{
    if (lines_)
        lines_(clock_.seconds(), words);
}
