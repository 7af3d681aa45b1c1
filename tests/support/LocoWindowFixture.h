#pragma once

#include "AppFixture.h"
#include "Form2a.h"
#include "LocoModuleFixture.h"
#include "PressButtons.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionButton>
#include <QTest>

#include <memory>

// The whole program in "DCC" (AppFixture) on a small layout, with the
// direction pictures in place, the loco window shown and the start-up's
// dialogs and frames cleared away.
class LocoWindowFixture : public AppFixture {
protected:
    LocoWindowFixture()
        : AppFixture(64, 48)
    {
        writeControlSystem("DCC");
        dir.write(QStringLiteral("data/text/function.txt"), FunctionFile);
        for (const char* picture : {"DCClogoL.bmp", "DCClogoR.bmp", "LocoLogo.bmp"}) {
            QFile source(QStringLiteral(VARNOLIX_SOURCE_DIR "/data/VM110/") + QLatin1String(picture));
            if (source.open(QIODevice::ReadOnly))
                dir.write(QStringLiteral("data/VM110/") + QLatin1String(picture), source.readAll());
        }
    }

    // E27 (chip 3) is row 1, D1 (chip 1234) row 0, E4567 row 2.
    static constexpr int D1 = 0, E27 = 1, E4567 = 2;
    void start(const QByteArray& roster = "\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n\"4567\",\"E4567\"\r\n")
    {
        dir.write(QStringLiteral("data/text/loco.txt"), roster);
        ASSERT_TRUE(startWith("DCC"));
        form = app->form2a();
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(form->isVisible());
        dialogs.shown.clear();
        link.written.clear();
    }

    DCC& dcc() { return app->dcc(); }

    QStringList sent() { return link.takeWritten(); }

    void chooseEngine(int row) { form->mnuUnitA.at(static_cast<std::size_t>(row))->trigger(); }
    void choosePilot(int row) { form->mnuUnitB.at(static_cast<std::size_t>(row))->trigger(); }

    // A real press (and release) of a mouse button on a control.
    static void press(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = {})
    {
        QTest::mousePress(widget, button, {}, at);
    }
    static void click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = {})
    {
        QTest::mousePress(widget, button, {}, at);
        QTest::mouseRelease(widget, button, {}, at);
    }

    static QPoint indicator(QCheckBox* box)
    {
        QStyleOptionButton option;
        option.initFrom(box);
        return box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
    }
    void pressBox(int i) { QTest::mousePress(form->chkFunc.at(static_cast<std::size_t>(i)), Qt::LeftButton, {}, indicator(form->chkFunc[static_cast<std::size_t>(i)])); }
    void releaseBox(int i) { QTest::mouseRelease(form->chkFunc.at(static_cast<std::size_t>(i)), Qt::LeftButton, {}, indicator(form->chkFunc[static_cast<std::size_t>(i)])); }
    void clickBox(int i)
    {
        pressBox(i);
        releaseBox(i);
    }

    QStringList messageTexts() const { return dialogs.messageTexts(); }

    Form2a* form = nullptr;
};
