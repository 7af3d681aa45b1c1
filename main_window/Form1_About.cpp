// About, sound, word processor and help buttons of the toolbar.
#include "Form1.h"

#include "Accessories.h"
#include "ImageButton.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QTextOption>

// Label, blanks, value; the second telephone line starts with a tab, which
// the text box sets to the value column.
const QString Form1::AboutText = QStringLiteral(
    " Product       Varnolix-Digital\r\n"
    " Programmer    Varnolix developers\r\n"
    " Address       12 Signal Box Lane\r\n"
    "               Fairbridge Junction\r\n"
    "               Exampleshire ZZ1 1ZZ\r\n"
    " Telephone     +44 1632\r\n"
    "\t960 018\r\n"
    " E-mail\r\n"
    " varnolix@example.org\r\n");

namespace {

constexpr int AboutValueColumn = 15; // characters before the values

} // namespace

QGroupBox* Form1::buildAboutFrame()
{
    fraAbout = new QGroupBox(QStringLiteral("    MS Wordpad          E-mail"));
    fraAbout->setObjectName(QStringLiteral("fraAbout"));
    auto* row = new QHBoxLayout(fraAbout);
    // Each picture sits under its word of the frame caption.
    imgBtnWordPad = new ImageButton(fraAbout);
    imgBtnWordPad->setObjectName(QStringLiteral("imgBtnWordPad"));
    imgBtnWordPad->setPicture(QStringLiteral(":/images/wordpad.png"), QStringLiteral("edit"));
    imgBtnWordPad->setToolTip(QStringLiteral("open version.txt in the word processor"));
    connect(imgBtnWordPad, &ImageButton::mouseReleased, this, [this](int) { imgBtnWordPad_MouseUp(); });
    imgBtnAbout = new ImageButton(fraAbout);
    imgBtnAbout->setObjectName(QStringLiteral("imgBtnAbout"));
    imgBtnAbout->setPicture(QStringLiteral(":/images/about.png"), QStringLiteral("about"));
    // Which data folder is in use (beside the program, the user's own, or
    // one named with --data), where it does not change the About text.
    imgBtnAbout->setToolTip(QStringLiteral("about Varnolix\ndata folder: %1").arg(accessories_.dataFolder()));
    connect(imgBtnAbout, &ImageButton::mouseReleased, this, [this](int) { imgBtnAbout_Click(); });
    row->addSpacing(22);
    row->addWidget(imgBtnWordPad);
    row->addStretch(1);
    row->addWidget(imgBtnAbout);
    row->addSpacing(10);

    return fraAbout;
}

void Form1::buildAboutText()
{
    // The About text floats over the top of the mimic, below the frame. It
    // is made on the first click: its fixed-pitch font is a font file of its
    // own to load, which the first frame has no use for.
    txtAbout = new QPlainTextEdit(this);
    txtAbout->setObjectName(QStringLiteral("txtAbout"));
    txtAbout->setReadOnly(true);
    txtAbout->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtAbout->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtAbout->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtAbout->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtAbout->setTabStopDistance(QFontMetricsF(txtAbout->font()).horizontalAdvance(QLatin1Char(' ')) * AboutValueColumn);
    txtAbout->setPlainText(QString(AboutText).remove(QLatin1Char('\r')).chopped(1));
}

void Form1::placeAboutText()
{
    const QFontMetrics metrics = txtAbout->fontMetrics();
    int widest = 0;
    for (const QString& line : txtAbout->toPlainText().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(QString(line).replace(
                                      QLatin1Char('\t'), QString(AboutValueColumn, QLatin1Char(' ')))));
    const int frame = 2 * (txtAbout->frameWidth() + static_cast<int>(txtAbout->document()->documentMargin()));
    txtAbout->resize(widest + frame + 4, metrics.lineSpacing() * txtAbout->blockCount() + frame + 2);
    txtAbout->move(fraAbout->mapTo(this, QPoint(0, fraAbout->height() + 4)));
    txtAbout->raise();
}

void Form1::imgBtnAbout_Click()
{
    const bool wasShown = AboutShown;
    AboutShown = !AboutShown;
    if (wasShown) {
        txtAbout->hide();
        return;
    }
    if (!txtAbout)
        buildAboutText();
    placeAboutText();
    txtAbout->show();
    accessories_.SoundFile = accessories_.programFile("\\telephone.wav");
    PlaySound();
}

void Form1::PlaySound()
{
    accessories_.PlaySound();
}

void Form1::imgBtnWordPad_MouseUp()
{
    OpenInWordPad();
}

void Form1::OpenInWordPad()
{
    accessories_.OpenInWordPad();
}

void Form1::imgBtnHelp_MouseUp()
{
    emit helpRequested();
}
