// The layout mimic and its scrolling.
#include "Form1.h"

#include "ImageButton.h"
#include "MimicPicture.h"
#include "Twips.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <limits>

namespace {

QString percentText(int value)
{
    // Int(v / 326) with the blank a non-negative number is printed with.
    return QLatin1Char(' ') + QString::number(value / 326) + QLatin1Char('%');
}

} // namespace

bool Form1::loadMimic(const QString& path, QString* error)
{
    if (!picScreen->load(path, error))
        return false;
    placeMimic();
    return true;
}

void Form1::placeMimic()
{
    picScreen->move(-twips::toPixels(hsbScreen->value()), -twips::toPixels(vsbScreen->value()));
}

void Form1::hsbScreen_Change()
{
    txtPercent[1]->setText(percentText(hsbScreen->value()));
    placeMimic();
}

void Form1::vsbScreen_Change()
{
    txtPercent[2]->setText(percentText(vsbScreen->value()));
    placeMimic();
}

void Form1::imgBtnScroll_MouseDown(int index, int button)
{
    if (button != 1)
        return;
    ScrollDirection = static_cast<std::uint8_t>(index);
    timPollKeys.start(40);
}

void Form1::imgBtnScroll_MouseUp(int index, int button)
{
    if (button != 1)
        return;
    ScrollDirection = static_cast<std::uint8_t>(index);
    timPollKeys.stop();
    ScrollStep = 0;
}

void Form1::scrollBy(QScrollBar* bar, int delta, QLineEdit* box)
{
    const int value = bar->value() + delta;
    // A step that would leave the range is not applied; the step keeps
    // growing, so the view stops short of the end until the next hold.
    if (value >= bar->minimum() && value <= bar->maximum())
        bar->setValue(value);
    box->raise();
}

void Form1::timPollKeys_Timer()
{
    if (ScrollStep <= std::numeric_limits<std::int16_t>::max() - 10)
        ScrollStep = static_cast<std::int16_t>(ScrollStep + 10);
    switch (ScrollDirection) {
    case 0: scrollBy(vsbScreen, -ScrollStep, txtPercent[2]); break;
    case 3: scrollBy(hsbScreen, ScrollStep, txtPercent[1]); break;
    case 6: scrollBy(vsbScreen, ScrollStep, txtPercent[2]); break;
    case 9: scrollBy(hsbScreen, -ScrollStep, txtPercent[1]); break;
    default: break;
    }
}

void Form1::txtPercent_Click()
{
    hsbScreen->setValue(0);
    vsbScreen->setValue(0);
}

void Form1::picScreen_MouseUp()
{
    showControlWindows();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == txtPercent[1] || watched == txtPercent[2]) && event->type() == QEvent::MouseButtonRelease) {
        txtPercent_Click();
        return false;
    }
    if ((watched == picScreen || watched == mimicView_) && event->type() == QEvent::MouseButtonRelease) {
        picScreen_MouseUp();
        return false;
    }
    if ((watched == picScreen || watched == mimicView_) && event->type() == QEvent::Wheel) {
        // The wheel scrolls the mimic as in any other picture viewer.
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint steps = wheel->angleDelta() / 120;
        const bool sideways = (wheel->modifiers() & Qt::ShiftModifier) || steps.y() == 0;
        QScrollBar* bar = sideways ? hsbScreen : vsbScreen;
        const int delta = sideways && steps.x() != 0 ? steps.x() : steps.y();
        bar->setValue(bar->value() - delta * 3 * bar->singleStep());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeMimic();
}
