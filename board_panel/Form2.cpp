#include "Form2.h"

#include "K8055.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

// Debounce times of the options "0ms", "2ms", "10ms", "1000ms".
constexpr std::array<int, 4> DebounceMs = {0, 2, 10, 1000};

QString numbered(const char* name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// A box that shows a board input: the program ticks it, the user cannot.
void makeIndicator(QCheckBox* box)
{
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
}

} // namespace

Form2::Form2(K8055& board, const K8055Status& status, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , board_(board)
    , status_(status)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("K8055 Demo"));

    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(10, 10, 10, 10);
    columns->setSpacing(10);
    columns->addWidget(buildLeftColumn());
    columns->addWidget(buildSlider(QStringLiteral("DA1"), QStringLiteral("VScroll1"), VScroll1, Label3, QStringLiteral("Label3"), true));
    columns->addWidget(buildSlider(QStringLiteral("DA2"), QStringLiteral("VScroll2"), VScroll2, Label4, QStringLiteral("Label4"), true));
    columns->addWidget(buildSlider(QStringLiteral("AD1"), QStringLiteral("VScroll3"), VScroll3, Label7, QStringLiteral("Label7"), false));
    columns->addWidget(buildSlider(QStringLiteral("AD2"), QStringLiteral("VScroll4"), VScroll4, Label9, QStringLiteral("Label9"), false));

    auto* right = new QVBoxLayout;
    right->addWidget(buildInputs());
    right->addWidget(buildOutputs());
    auto* counters = new QHBoxLayout;
    counters->addWidget(buildCounter(1, Text1, Reset1, Label10, Option1));
    counters->addWidget(buildCounter(2, Text2, Reset2, Label11, Option2));
    right->addLayout(counters);
    right->addStretch(1);
    columns->addLayout(right, 1);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(50);
    connect(&Timer1, &QTimer::timeout, this, &Form2::Timer1_Timer);
    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setInterval(100);
    connect(&Timer2, &QTimer::timeout, this, &Form2::Timer2_Timer);

    Form_Initialize();
}

Form2::~Form2()
{
    Form_Terminate();
}

QWidget* Form2::buildLeftColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* card = new QGroupBox(QStringLiteral("Card Address"), column);
    card->setObjectName(QStringLiteral("fraCardAddress"));
    auto* jumpers = new QHBoxLayout(card);
    const char* captions[] = {"SK5", "SK6"};
    for (int i = 0; i < 2; ++i) {
        auto* box = new QCheckBox(QLatin1String(captions[i]), card);
        box->setObjectName(numbered("Check1", i));
        box->setChecked(true);
        box->setToolTip(QStringLiteral("ticked: jumper fitted"));
        Check1[static_cast<std::size_t>(i)] = box;
        jumpers->addWidget(box);
    }
    layout->addWidget(card);

    Connect = new QPushButton(QStringLiteral("Connect"), column);
    Connect->setObjectName(QStringLiteral("Connect"));
    connect(Connect, &QPushButton::clicked, this, &Form2::Connect_Click);
    layout->addWidget(Connect);

    Label1 = new QLabel(QStringLiteral("- - -"), column);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFrameShape(QFrame::StyledPanel);
    Label1->setMinimumHeight(24);
    layout->addWidget(Label1);
    layout->addSpacing(6);

    struct Action {
        QPushButton*& button;
        const char* name;
        const char* caption;
        void (Form2::*handler)();
    };
    const Action actions[] = {{SetAllDig, "SetAllDig", "Set All Digital", &Form2::SetAllDig_Click},
                              {ClearAllDig, "ClearAllDig", "Clear All Digital", &Form2::ClearAllDig_Click},
                              {SetAllAnalog1, "SetAllAnalog1", "Set All Analog", &Form2::SetAllAnalog1_Click},
                              {ClearAllAnalog1, "ClearAllAnalog1", "Clear All Analog", &Form2::ClearAllAnalog1_Click}};
    for (const Action& action : actions) {
        action.button = new QPushButton(QLatin1String(action.caption), column);
        action.button->setObjectName(QLatin1String(action.name));
        connect(action.button, &QPushButton::clicked, this, action.handler);
        layout->addWidget(action.button);
    }
    layout->addSpacing(6);
    Check4 = new QCheckBox(QStringLiteral("Output Test"), column);
    Check4->setObjectName(QStringLiteral("Check4"));
    connect(Check4, &QCheckBox::toggled, this, &Form2::Check4_Click);
    layout->addWidget(Check4);
    layout->addStretch(1);
    column->setFixedWidth(150);
    return column;
}

QGroupBox* Form2::buildSlider(const QString& title, const QString& name, QSlider*& slider, QLabel*& value,
                              const QString& valueName, bool output)
{
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(QStringLiteral("fra") + title);
    auto* layout = new QVBoxLayout(frame);
    // 255 at the top, 0 at the bottom.
    slider = new QSlider(Qt::Vertical, frame);
    slider->setObjectName(name);
    slider->setRange(0, 255);
    slider->setPageStep(16);
    slider->setMinimumHeight(190);
    slider->setToolTip(output ? QStringLiteral("analog output %1").arg(title.right(1))
                              : QStringLiteral("analog input %1").arg(title.right(1)));
    layout->addWidget(slider, 1, Qt::AlignHCenter);
    value = new QLabel(QStringLiteral("00"), frame);
    value->setObjectName(valueName);
    value->setAlignment(Qt::AlignCenter);
    value->setMinimumWidth(30);
    layout->addWidget(value);
    if (output) {
        // Every move the user makes (drag, arrow keys, page clicks, wheel)
        // reaches the output; values the program sets do not.
        QSlider* s = slider;
        connect(slider, &QSlider::actionTriggered, this,
                [this, s] { s == VScroll1 ? VScroll1_Scroll() : VScroll2_Scroll(); });
    } else {
        slider->setEnabled(false);
    }
    return frame;
}

QGroupBox* Form2::buildInputs()
{
    auto* frame = new QGroupBox(QStringLiteral("Inputs"), this);
    frame->setObjectName(QStringLiteral("fraInputs"));
    auto* row = new QHBoxLayout(frame);
    for (int i = 0; i < 5; ++i) {
        auto* box = new QCheckBox(QString::number(i + 1), frame);
        box->setObjectName(numbered("Check2", i));
        makeIndicator(box);
        Check2[static_cast<std::size_t>(i)] = box;
        row->addWidget(box);
    }
    row->addStretch(1);
    return frame;
}

QGroupBox* Form2::buildOutputs()
{
    auto* frame = new QGroupBox(QStringLiteral("Outputs"), this);
    frame->setObjectName(QStringLiteral("fraOutputs"));
    auto* row = new QHBoxLayout(frame);
    for (int i = 0; i < 8; ++i) {
        auto* box = new QCheckBox(QString::number(i + 1), frame);
        box->setObjectName(numbered("Check3", i));
        connect(box, &QCheckBox::toggled, this, [this, i] { Check3_Click(i); });
        Check3[static_cast<std::size_t>(i)] = box;
        row->addWidget(box);
    }
    row->addStretch(1);
    return frame;
}

QGroupBox* Form2::buildCounter(int counter, QLineEdit*& text, QPushButton*& reset, QLabel*& label,
                               std::array<QRadioButton*, 4>& options)
{
    auto* frame = new QGroupBox(QStringLiteral("Counter%1").arg(counter), this);
    frame->setObjectName(QStringLiteral("fraCounter%1").arg(counter));
    auto* grid = new QGridLayout(frame);
    text = new QLineEdit(QStringLiteral("0"), frame);
    text->setObjectName(QStringLiteral("Text%1").arg(counter));
    text->setReadOnly(true);
    text->setAlignment(Qt::AlignRight);
    reset = new QPushButton(QStringLiteral("Reset"), frame);
    reset->setObjectName(QStringLiteral("Reset%1").arg(counter));
    connect(reset, &QPushButton::clicked, this, counter == 1 ? &Form2::Reset1_Click : &Form2::Reset2_Click);
    label = new QLabel(QStringLiteral("Debounce Time"), frame);
    label->setObjectName(counter == 1 ? QStringLiteral("Label10") : QStringLiteral("Label11"));
    grid->addWidget(text, 0, 0);
    grid->addWidget(reset, 0, 1);
    grid->addWidget(label, 1, 0, 1, 2);
    const char* captions[] = {"0ms", "2ms", "10ms", "1000ms"};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(QLatin1String(captions[i]), frame);
        option->setObjectName(numbered(counter == 1 ? "Option1" : "Option2", i));
        option->setChecked(i == 1);
        // Clicks only: the "2ms" shown at start is not sent to the board.
        connect(option, &QRadioButton::clicked, this,
                [this, counter, i] { counter == 1 ? Option1_Click(i) : Option2_Click(i); });
        options[static_cast<std::size_t>(i)] = option;
        grid->addWidget(option, 2 + i / 2, i % 2);
    }
    return frame;
}

void Form2::Form_Initialize()
{
    SuppressWrite = false;
    TestPosition = 7;
    ConnectCard();
}

void Form2::Form_Terminate()
{
    Timer1.stop();
    Timer2.stop();
    board_.CloseDevice();
}

void Form2::ConnectCard()
{
    const int sk5 = Check1[0]->isChecked() ? 1 : 0;
    const int sk6 = Check1[1]->isChecked() ? 1 : 0;
    CardAddress = 3 - (2 * sk6 + sk5);
    const int h = board_.OpenDevice(CardAddress);
    if (h == -1)
        Label1->setText(QStringLiteral("Card ") + QLatin1Char(' ') + QString::number(CardAddress) + QStringLiteral(" not found"));
    else if (h >= 0 && h <= 3)
        Label1->setText(QStringLiteral("Card ") + QLatin1Char(' ') + QString::number(h) + QStringLiteral(" connected"));
    Label1->setToolTip(status_.fault());
    // A failed connection stops the polling of the board opened before: the
    // open call has closed it.
    cardOpen_ = h >= 0;
    if (cardOpen_)
        Timer1.start();
    else
        Timer1.stop();
    emit cardConnected(CardAddress, cardOpen_);
}

void Form2::Connect_Click()
{
    ConnectCard();
}

void Form2::Check3_Click(int /*Index*/)
{
    int value = 0;
    for (int i = 0; i < 8; ++i)
        if (Check3[static_cast<std::size_t>(i)]->isChecked())
            value += 1 << i;
    OutputValue = static_cast<std::int16_t>(value);
    if (!SuppressWrite)
        board_.WriteAllDigital(OutputValue);
}

void Form2::SetAllDig_Click()
{
    SuppressWrite = true;
    for (QCheckBox* box : Check3)
        box->setChecked(true);
    SuppressWrite = false;
    board_.SetAllDigital();
}

void Form2::ClearAllDig_Click()
{
    SuppressWrite = true;
    for (QCheckBox* box : Check3)
        box->setChecked(false);
    SuppressWrite = false;
    board_.ClearAllDigital();
}

void Form2::SetAllAnalog1_Click()
{
    board_.SetAllAnalog();
    VScroll1->setValue(255);
    VScroll2->setValue(255);
    Label3->setText(QStringLiteral("255"));
    Label4->setText(QStringLiteral("255"));
}

void Form2::ClearAllAnalog1_Click()
{
    board_.ClearAllAnalog();
    VScroll1->setValue(0);
    VScroll2->setValue(0);
    Label3->setText(QStringLiteral("0"));
    Label4->setText(QStringLiteral("0"));
}

void Form2::VScroll1_Scroll()
{
    const int value = VScroll1->sliderPosition();
    Label3->setText(QString::number(value));
    board_.OutputAnalogChannel(1, value);
}

void Form2::VScroll2_Scroll()
{
    const int value = VScroll2->sliderPosition();
    Label4->setText(QString::number(value));
    board_.OutputAnalogChannel(2, value);
}

void Form2::Check4_Click()
{
    if (Check4->isChecked())
        Timer2.start();
    else
        Timer2.stop();
}

void Form2::Timer1_Timer()
{
    // Off while polling, so a slow poll never overlaps the next one.
    Timer1.stop();
    const int d = board_.ReadAllDigital();
    for (int i = 0; i < 5; ++i)
        Check2[static_cast<std::size_t>(i)]->setChecked(d & (1 << i));
    int a1 = 0;
    int a2 = 0;
    board_.ReadAllAnalog(&a1, &a2);
    VScroll3->setValue(a1);
    Label7->setText(QString::number(a1));
    VScroll4->setValue(a2);
    Label9->setText(QString::number(a2));
    Text1->setText(QString::number(board_.ReadCounter(1)));
    Text2->setText(QString::number(board_.ReadCounter(2)));
    if (!status_.fault().isEmpty()) {
        showLostBoard();
        return;
    }
    Timer1.start();
}

void Form2::showLostBoard()
{
    // The board has gone (unplugged): say so and stop polling until Connect
    // finds it again. Every other call goes on doing nothing.
    Label1->setText(QStringLiteral("Card ") + QLatin1Char(' ') + QString::number(CardAddress) + QStringLiteral(" not answering"));
    Label1->setToolTip(status_.fault());
}

void Form2::Timer2_Timer()
{
    board_.ClearDigitalChannel(TestPosition + 1);
    Check3[static_cast<std::size_t>(TestPosition)]->setChecked(false);
    TestPosition = static_cast<std::int16_t>((TestPosition + 1) % 8);
    board_.SetDigitalChannel(TestPosition + 1);
    Check3[static_cast<std::size_t>(TestPosition)]->setChecked(true);
}

void Form2::setDebounce(int counter, int Index)
{
    const int ms = Index >= 0 && Index < 4 ? DebounceMs[static_cast<std::size_t>(Index)] : 0;
    board_.SetCounterDebounceTime(counter, ms);
}

void Form2::Option1_Click(int Index)
{
    setDebounce(1, Index);
}

void Form2::Option2_Click(int Index)
{
    setDebounce(2, Index);
}

void Form2::Reset1_Click()
{
    board_.ResetCounter(1);
}

void Form2::Reset2_Click()
{
    board_.ResetCounter(2);
}
