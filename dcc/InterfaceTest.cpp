#include "InterfaceTest.h"

#include "DccLink.h"

InterfaceTest::InterfaceTest(std::unique_ptr<DccLink> link, Clock& clock)
    : link_(std::move(link))
    , receiver_(clock, DccReceiver::Hooks{[](const QByteArray&) {}, [] {}, [] {}, [](const DccReceiver::Answer&) {}})
    , detection_(*link_, clock,
                 BoxDetection::Hooks{[this](const QByteArray& frame) { link_->write(frame); }, {},
                                     [this](BoxDetection::Result result) { ended(result); }})
{
    link_->setReceiveHandler([this](const DccLink::Received& in) {
        receiver_.received(in);
        detection_.heard();
    });
    link_->setOpenedHandler([this] { detection_.opened(); });
    link_->setLostHandler([this](const QString&, const QString&) { detection_.lost(); });
}

InterfaceTest::~InterfaceTest()
{
    done_ = {};
    detection_.cancel();
    link_->setReceiveHandler({});
    link_->setOpenedHandler({});
    link_->setLostHandler({});
}

void InterfaceTest::start(const InterfaceSettings& settings, std::uint8_t port, std::function<void(const QString&)> done)
{
    cancel();
    done_ = std::move(done);
    receiver_.reset();
    link_->setInterface(settings);
    detection_.start(port);
}

void InterfaceTest::cancel()
{
    done_ = {};
    detection_.cancel();
}

void InterfaceTest::ended(BoxDetection::Result result)
{
    if (result == BoxDetection::Result::Cancelled)
        return;
    QString words;
    if (result == BoxDetection::Result::Answered) {
        const QString identity = receiver_.state().identity;
        words = QStringLiteral("%1 answered on %2.").arg(identity.isEmpty() ? QStringLiteral("a DCC box") : identity, link_->where());
    } else if (result == BoxDetection::Result::NotOpened || !detection_.failure().isEmpty()) {
        words = QStringLiteral("Nothing answered: %1.").arg(detection_.failure());
    } else {
        words = QStringLiteral("%1 opened, but nothing answered the query.").arg(link_->where());
    }
    // The device is free again for the link in use or for another program.
    link_->close();
    receiver_.reset();
    const auto done = std::move(done_);
    done_ = {};
    if (done)
        done(words);
}
