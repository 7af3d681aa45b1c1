// Looking for a network DCC box never holds up the user interface: through a
// real local TCP listener that answers only when the program's event loop
// runs (late, or never), and a name that does not resolve.
#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeWindowHost.h"
#include "QtDccLink.h"
#include "SR.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

namespace {

// A network interface in this thread: it takes the connection and answers
// the detection's queries only when the event loop turns, each answer
// `lateMs` after the query on the test's clock; never, when told so.
class LateBox {
public:
    LateBox(Clock& clock, int lateMs)
        : lateMs_(lateMs)
        , reply_(clock.createTimer([this] { answer(); }))
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            client_ = server_.nextPendingConnection();
            QObject::connect(client_, &QTcpSocket::readyRead, client_, [this] {
                received += client_->readAll();
                if (answering)
                    reply_->start(lateMs_);
            });
        });
    }

    quint16 port() const { return server_.serverPort(); }

    bool answering = true;
    QByteArray received;

private:
    void answer()
    {
        // The interface's version, then the station's, then its state: one
        // answer per query in the order they come.
        static const QByteArray replies[] = {QByteArray::fromHex("02013635"), QByteArray::fromHex("6321360074"),
                                             QByteArray::fromHex("62220040")};
        if (client_ && answered_ < 3)
            client_->write(replies[answered_++]);
    }

    QTcpServer server_;
    QTcpSocket* client_ = nullptr;
    int lateMs_;
    int answered_ = 0;
    std::unique_ptr<ClockTimer> reply_;
};

class ConnectPath : public ::testing::Test {
protected:
    ConnectPath()
    {
        shared.ControlSystem = QStringLiteral("DCC");
        shared.PortNumber = 0;
    }

    void useHost(const QString& host, int port)
    {
        InterfaceSettings settings = defaultsFor(InterfaceSettings::Kind::XnTcp);
        settings.host = host;
        settings.tcpPort = port;
        dcc.Interface = settings;
    }

    // Lets the event loop, the link and the clock run until `done`, about 5 s at most.
    bool runUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 250 && !done(); ++i) {
            link.waitForReceived(20);
            QCoreApplication::processEvents();
            clock.advance(0.02);
        }
        return done();
    }

    QString status()
    {
        sr.BuildStatusText();
        return sr.ShowStatusCaption().title;
    }

    TestFolder dir;
    Shared shared;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeWindowHost windows;
    QtDccLink link{PortMap()};
    DCC dcc{shared, link, clock, dialogs, dir.folder()};
    SR sr{shared, dialogs, clock, dir.folder(), dcc, windows};
};

TEST_F(ConnectPath, AtStartUpTheEventLoopRunsWhileTheBoxIsLookedForAndAStopWaitsForIt)
{
    LateBox box(clock, 150);
    useHost(QStringLiteral("127.0.0.1"), box.port());
    // Posted before the connect: it runs while the box is still looked for.
    LinkSession::State stateSeen = LinkSession::State::Online;
    QString statusSeen;
    QTimer::singleShot(0, [&] {
        stateSeen = dcc.session().state();
        statusSeen = status();
        dcc.EmergencyStop();
    });
    dcc.ConnectDccBox();
    EXPECT_EQ(stateSeen, LinkSession::State::Connecting);
    EXPECT_TRUE(statusSeen.endsWith(QStringLiteral("  looking for the DCC box..."))) << statusSeen.toStdString();
    ASSERT_TRUE(dcc.Online()) << "the box answered late, while the loop turned";
    EXPECT_EQ(box.received.left(4), QByteArray::fromHex("F0F08080")) << "the kept stop goes first" << box.received.toHex().toStdString();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text,
              QStringLiteral("DCC box connected on 127.0.0.1:%1\ninterface 0.1 / 3.6, command station LZ100/LZV100 3.6").arg(box.port()));
}

TEST_F(ConnectPath, ConnectingAgainReturnsAtOnceKeepsStopsRefusesTheRestAndCanBeCancelled)
{
    LateBox silent(clock, 0);
    silent.answering = false;
    // Cancelled while the query waits for its answer, and during the name lookup.
    const struct {
        QString host;
        int port;
        std::function<bool()> cancelWhen;
    } rows[] = {{QStringLiteral("127.0.0.1"), silent.port(), [&] { return silent.received.size() >= 2; }},
                {QStringLiteral("no-such-station.invalid"), 61235, [&] { return link.opening(); }}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.host.toStdString());
        useHost(row.host, row.port);
        dcc.ConnectAgain();
        ASSERT_TRUE(dcc.Connecting()) << "the connect runs in the background";
        EXPECT_TRUE(status().endsWith(QStringLiteral("  looking for the DCC box..."))) << status().toStdString();
        shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x80, 0x75, 0};
        EXPECT_TRUE(dcc.SendFrame()) << "a stop is kept";
        shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C, 0};
        EXPECT_FALSE(dcc.SendFrame()) << "a speed step is refused";
        EXPECT_TRUE(status().endsWith(QStringLiteral("  looking for the DCC box...  STOP NOT SENT  not sent: DCC box lost")))
            << status().toStdString();

        ASSERT_TRUE(runUntil(row.cancelWhen));
        ASSERT_TRUE(dcc.Connecting());
        dcc.CancelConnect();
        EXPECT_FALSE(dcc.Connecting());
        EXPECT_FALSE(link.isOpen());
        EXPECT_FALSE(link.opening());
        EXPECT_EQ(dcc.session().state(), LinkSession::State::OfflineByChoice);
        EXPECT_TRUE(status().endsWith(QStringLiteral("  modem OFF"))) << status().toStdString();
        EXPECT_TRUE(dialogs.shown.empty()) << "a cancel needs no message";
        clock.advance(5.0);
        EXPECT_FALSE(dcc.Connecting()) << "nothing is looked for after a cancel";
    }
}

TEST_F(ConnectPath, ANameThatDoesNotResolveIsLookedUpInTheBackgroundAndNamed)
{
    useHost(QStringLiteral("no-such-station.invalid"), 61235);
    // Posted before the connect: it runs during the name lookup, not after it.
    bool lookingUp = false;
    QTimer::singleShot(0, [&] { lookingUp = link.opening(); });
    dcc.ConnectDccBox();
    EXPECT_TRUE(lookingUp);
    EXPECT_FALSE(dcc.Online());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("no-such-station.invalid:61235"))) << dialogs.messages()[0].text.toStdString();
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("not found"), Qt::CaseInsensitive)) << dialogs.messages()[0].text.toStdString();
}

} // namespace
