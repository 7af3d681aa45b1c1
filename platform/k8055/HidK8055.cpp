#include "HidK8055.h"

#include <algorithm>

using namespace k8055;

namespace {

std::uint8_t level(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

QString usbName(int cardAddress)
{
    return QStringLiteral("USB %1:%2").arg(VendorId, 4, 16, QLatin1Char('0')).arg(productIdFor(cardAddress), 4, 16, QLatin1Char('0'));
}

} // namespace

HidK8055::HidK8055(HidBackend& hid)
    : hid_(hid)
{
}

HidK8055::~HidK8055()
{
    CloseDevice();
}

int HidK8055::OpenDevice(int cardAddress)
{
    CloseDevice();
    if (cardAddress < 0 || cardAddress > 3)
        return failOpen(QStringLiteral("card address %1 is not 0..3").arg(cardAddress));
    if (!hid_.open(VendorId, productIdFor(cardAddress)))
        return failOpen(QStringLiteral("no K8055 at card address %1 (%2): %3. Check the cable, the SK5/SK6 jumpers "
                                       "and that the udev rule for the board is installed.")
                            .arg(cardAddress)
                            .arg(usbName(cardAddress), hid_.error()));
    address_ = cardAddress;
    // A known safe state first: whatever the last program left on, goes off.
    shadow_ = OutputState{};
    send(Command::SetOutputs);
    if (!isOpen())
        return failOpen(fault_);
    if (!takeReport(OpenAnswerTimeoutMs)) {
        hid_.close();
        address_ = -1;
        return failOpen(QStringLiteral("the K8055 at card address %1 does not answer").arg(cardAddress));
    }
    if (!statusMatches(newest_.status, cardAddress)) {
        const int status = newest_.status;
        hid_.close();
        address_ = -1;
        return failOpen(QStringLiteral("the board at card address %1 answers in a protocol this program does not "
                                       "speak (status %2); unplug it and plug it in again")
                            .arg(cardAddress)
                            .arg(status));
    }
    fault_.clear();
    return cardAddress;
}

int HidK8055::failOpen(const QString& why)
{
    newest_ = InputState{};
    fault_ = why;
    return -1;
}

void HidK8055::CloseDevice()
{
    if (!isOpen())
        return;
    // Nothing may stay on once the program lets go of the board: no coil
    // energised, no motor running with no program to stop it.
    shadow_.digital = 0;
    shadow_.analog1 = shadow_.analog2 = 0;
    send(Command::SetOutputs);
    hid_.close();
    address_ = -1;
    newest_ = InputState{};
}

void HidK8055::WriteAllDigital(int value)
{
    shadow_.digital = static_cast<std::uint8_t>(value & 0xFF);
    send(Command::SetOutputs);
}

void HidK8055::ClearAllDigital()
{
    WriteAllDigital(0);
}

void HidK8055::SetAllDigital()
{
    WriteAllDigital(0xFF);
}

void HidK8055::SetDigitalChannel(int channel)
{
    if (channel >= 1 && channel <= 8)
        WriteAllDigital(shadow_.digital | (1 << (channel - 1)));
}

void HidK8055::ClearDigitalChannel(int channel)
{
    if (channel >= 1 && channel <= 8)
        WriteAllDigital(shadow_.digital & ~(1 << (channel - 1)));
}

int HidK8055::ReadAllDigital()
{
    return newestInputs().digital;
}

void HidK8055::OutputAnalogChannel(int channel, int value)
{
    if (channel == 1)
        shadow_.analog1 = level(value);
    else if (channel == 2)
        shadow_.analog2 = level(value);
    else
        return;
    send(Command::SetOutputs);
}

void HidK8055::SetAllAnalog()
{
    shadow_.analog1 = shadow_.analog2 = 255;
    send(Command::SetOutputs);
}

void HidK8055::ClearAllAnalog()
{
    shadow_.analog1 = shadow_.analog2 = 0;
    send(Command::SetOutputs);
}

void HidK8055::ReadAllAnalog(int* data1, int* data2)
{
    const InputState& inputs = newestInputs();
    if (data1)
        *data1 = inputs.analog1;
    if (data2)
        *data2 = inputs.analog2;
}

int HidK8055::ReadCounter(int counter)
{
    const InputState& inputs = newestInputs();
    return counter == 1 ? inputs.counter1 : counter == 2 ? inputs.counter2 : 0;
}

void HidK8055::ResetCounter(int counter)
{
    if (counter == 1 || counter == 2)
        send(counter == 1 ? Command::ResetCounter1 : Command::ResetCounter2);
}

void HidK8055::SetCounterDebounceTime(int counter, int milliseconds)
{
    if (counter == 1) {
        shadow_.debounce1 = debounceCode(milliseconds);
        send(Command::SetDebounce1);
    } else if (counter == 2) {
        shadow_.debounce2 = debounceCode(milliseconds);
        send(Command::SetDebounce2);
    }
}

void HidK8055::send(Command command)
{
    if (!isOpen())
        return;
    const WrittenReport report = forHidapi(buildOutputReport(command, shadow_));
    if (hid_.write(report) < 0)
        lose(QStringLiteral("stopped taking commands"));
}

const InputState& HidK8055::newestInputs()
{
    // The one reader: everything queued is read and only the newest kept.
    for (int i = 0; i < MaxDrainedReports && isOpen(); ++i)
        if (!takeReport(0))
            break;
    return newest_;
}

bool HidK8055::takeReport(int timeoutMs)
{
    std::array<std::uint8_t, ReportSize> buffer{};
    const int got = hid_.read(buffer, timeoutMs);
    if (got < 0) {
        lose(QStringLiteral("stopped answering"));
        return false;
    }
    if (got < ReportSize)
        return false;
    newest_ = parseInputReport(buffer);
    return true;
}

void HidK8055::lose(const QString& what)
{
    const QString detail = hid_.error();
    fault_ = QStringLiteral("the K8055 at card address %1 %2%3; it may have been unplugged. Plug it in "
                            "again.")
                 .arg(address_)
                 .arg(what, detail.isEmpty() ? QString() : QStringLiteral(" (") + detail + QLatin1Char(')'));
    hid_.close();
    address_ = -1;
    newest_ = InputState{};
}
