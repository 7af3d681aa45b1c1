// The manual shipped in data/text: every topic of the help window's
// Contents menu must land on its own heading.
#include "Form1a.h"
#include "RtfReader.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

class Manual : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile file(QStringLiteral(VARNOLIX_SOURCE_DATA "/text/varnohelp.rtf"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        ASSERT_TRUE(rtf::read(file.readAll(), document));
    }

    static QString caption(int index) { return QString::fromLatin1(Form1a::TopicCaptions[static_cast<std::size_t>(index)]); }

    // The text from a topic's heading to the next topic's heading.
    QString section(int index) const
    {
        const int start = document.find(caption(index)).selectionStart();
        const int end = index + 1 < Form1a::TopicCount ? document.find(caption(index + 1)).selectionStart()
                                                        : document.characterCount();
        return document.toPlainText().mid(start, end - start);
    }

    QTextDocument document;
};

TEST_F(Manual, EachTopicFirstOccursAsItsOwnHeadingInMenuOrder)
{
    int previous = -1;
    QFont headingFont;
    for (int i = 0; i < Form1a::TopicCount; ++i) {
        const QTextCursor found = document.find(caption(i)); // case ignored, as the window searches
        ASSERT_FALSE(found.isNull()) << caption(i).toStdString();
        EXPECT_EQ(found.block().text(), caption(i)) << "first found in: " << found.block().text().toStdString();
        EXPECT_GT(found.selectionStart(), previous) << caption(i).toStdString();
        QTextCursor letter(found.block());
        letter.setPosition(found.block().position() + 1);
        EXPECT_TRUE(letter.charFormat().font().bold()) << caption(i).toStdString() << " is not set as a heading";
        // Every heading looks like the first one.
        if (i == 0)
            headingFont = letter.charFormat().font();
        EXPECT_EQ(letter.charFormat().font(), headingFont) << caption(i).toStdString();
        previous = found.selectionStart();
    }
}

TEST_F(Manual, EditorTopicsTheProgramLacksSendTheUserToAPaintProgram)
{
    for (const int topic : {5, 6, 8, 9, 12, 13, 15, 17, 18}) {
        const QString text = section(topic);
        EXPECT_TRUE(text.contains(QStringLiteral("paint program"), Qt::CaseInsensitive))
            << caption(topic).toStdString() << ":\n" << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Varnolix has no"), Qt::CaseInsensitive) ||
                    text.contains(QStringLiteral("Varnolix does not"), Qt::CaseInsensitive))
            << caption(topic).toStdString() << " must say plainly that the feature is missing";
    }
}

TEST_F(Manual, NamesThePortDevicesTheProgramMapsTo)
{
    const QString text = document.toPlainText();
    for (const char* device : {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB15", "/dev/ttyACM0", "/dev/ttyACM15",
                               "VARNOLIX_PORT_"})
        EXPECT_TRUE(text.contains(QLatin1String(device))) << device;
}

} // namespace
