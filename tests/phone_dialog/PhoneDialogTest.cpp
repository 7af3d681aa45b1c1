// The phone server's settings and life, and the "Phone throttles" dialog.
#include "LoadedPhoneService.h"
#include "PhoneDialog.h"
#include "PhoneThrottles.h"

#include "FakeClock.h"
#include "FakePhoneLayout.h"
#include "TestFolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace withrottle;

namespace {

// The server as the dialog sees it, in memory.
class FakePhoneService final : public PhoneService {
public:
    QString start(const ServerSettings& settings, const QString& serviceName) override
    {
        started << QStringLiteral("%1 %2 %3").arg(settings.port).arg(settings.listenAddress, serviceName);
        on = refusal.isEmpty();
        return refusal;
    }
    void stop() override { on = false; }
    bool listening() const override { return on; }
    QStringList addresses() const override
    {
        return on ? QStringList{"192.168.1.20:12090", "10.0.0.5:12090"} : QStringList{};
    }
    QString advertisement() const override { return on ? QStringLiteral("Phones on this network list it as \"Layout\".") : QString(); }
    QList<Phone> phones() const override { return connected; }
    void disconnectPhone(int id) override { disconnected << id; }

    QStringList started;
    QString refusal;
    bool on = false;
    QList<Phone> connected;
    QList<int> disconnected;
};

const QString File = QStringLiteral("data/text/withrottle.txt");

} // namespace

TEST(PhoneThrottlesTest, TheFileDecidesAtStartAndTheCommandLineSwitchesItOn)
{
    struct Case {
        const char* content; // nullptr: no file
        std::uint16_t commandLinePort; // 0: not on the command line
        const char* started;
        bool message;
    };
    const Case cases[] = {
        {nullptr, 0, "", false},
        {"#FALSE#,12090,\"\",#TRUE#,#TRUE#\r\n", 0, "", false},
        {"#TRUE#,12091,\"\",#TRUE#,#TRUE#\r\n", 0, "12091  Layout", false},
        {"#TRUE#,oops\r\n", 0, "", true},
        {nullptr, 12095, "12095  Layout", false},
        {"#FALSE#,12091,\"127.0.0.1\",#TRUE#,#TRUE#\r\n", 12096, "12096 127.0.0.1 Layout", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "no file");
        TestFolder folder;
        if (c.content)
            folder.write(File, c.content);
        FakePhoneService service;
        PhoneThrottles phones(service, folder.path() + QLatin1Char('/') + File);
        const QString message = c.commandLinePort ? phones.startNow(c.commandLinePort, QStringLiteral("Layout"))
                                                  : phones.startFromFile(QStringLiteral("Layout"));
        EXPECT_EQ(service.started.join(u'|'), QString::fromUtf8(c.started));
        EXPECT_EQ(!message.isEmpty(), c.message) << message.toStdString();
        if (c.message) {
            EXPECT_TRUE(message.contains(QStringLiteral("withrottle.txt")));
        }
        EXPECT_EQ(folder.exists(File), c.content != nullptr) << "starting never writes the file";
    }
}

TEST(PhoneDialogTest, ApplyStoresTheSettingAndTheServerFollowsIt)
{
    TestFolder folder;
    FakePhoneService service;
    PhoneThrottles phones(service, folder.path() + QLatin1Char('/') + File);
    phones.startFromFile(QStringLiteral("Millbrook Junction"));
    PhoneDialog dialog(phones, QStringLiteral("Millbrook Junction"));
    EXPECT_FALSE(dialog.chkEnabled->isChecked());
    EXPECT_EQ(dialog.spnPort->value(), 12090);
    EXPECT_TRUE(dialog.chkPower->isChecked());
    EXPECT_EQ(dialog.lblState->text(), QStringLiteral("The phone server is off."));

    dialog.chkEnabled->setChecked(true);
    dialog.spnPort->setValue(12099);
    dialog.chkPower->setChecked(false);
    dialog.cmdApply->click();
    EXPECT_EQ(folder.read(File), QByteArray("#TRUE#,12099,\"\",#FALSE#,#TRUE#\r\n"));
    EXPECT_EQ(service.started, QStringList{"12099  Millbrook Junction"});
    EXPECT_EQ(dialog.lblState->text(), QStringLiteral("The phone server is on."));
    EXPECT_EQ(dialog.lblAddresses->text(), QStringLiteral("Phones connect to: 192.168.1.20:12090, 10.0.0.5:12090"));
    EXPECT_EQ(dialog.lblAdvertised->text(), QStringLiteral("Phones on this network list it as \"Layout\"."));

    service.connected = {{7, QStringLiteral("Engine Driver 1"), QStringLiteral("482113"), QStringLiteral("192.168.1.31"),
                          {QStringLiteral("S3"), QStringLiteral("L218")}}};
    service.changed();
    ASSERT_EQ(dialog.tblPhones->rowCount(), 1);
    EXPECT_EQ(dialog.tblPhones->item(0, 0)->text(), QStringLiteral("Engine Driver 1"));
    EXPECT_EQ(dialog.tblPhones->item(0, 3)->text(), QStringLiteral("S3, L218"));
    qobject_cast<QPushButton*>(dialog.tblPhones->cellWidget(0, 4))->click();
    EXPECT_EQ(service.disconnected, QList<int>{7});

    // A port in use is said in the dialog; switching off stops the server.
    service.refusal = QStringLiteral("The phone server cannot listen on port 12099: another program uses it.");
    dialog.cmdApply->click();
    EXPECT_EQ(dialog.lblState->text(), service.refusal);
    dialog.chkEnabled->setChecked(false);
    dialog.cmdApply->click();
    EXPECT_FALSE(service.on);
    EXPECT_EQ(folder.read(File), QByteArray("#FALSE#,12099,\"\",#FALSE#,#TRUE#\r\n"));
}

TEST(PhoneDialogTest, WithoutThePhoneModuleTheServerStaysOffAndSaysWhy)
{
    FakeClock clock;
    FakePhoneLayout layout;
    LoadedPhoneService service(QStringLiteral("libvarnolix_phones.so"), {QStringLiteral("/nonexistent")}, layout, clock);
    const QString refusal = service.start(ServerSettings{}, QStringLiteral("Layout"));
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("The phone server could not be started: the phone module could not be loaded")))
        << refusal.toStdString();
    EXPECT_FALSE(service.listening());
}
