#pragma once

#include "WindowHost.h"

#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

// Records what the start-up asks of the windows.
class FakeWindowHost final : public WindowHost {
public:
    void loadBoardPanel() override { calls << QStringLiteral("board"); }
    void loadLocoWindow() override { calls << QStringLiteral("loco"); }
    void loadCoilWindow() override { calls << QStringLiteral("coil"); }
    void setCoilWindowCaptionAndSize(const QString& caption, int heightTw, int widthTw) override
    {
        calls << QStringLiteral("coil caption %1 %2x%3").arg(caption).arg(heightTw).arg(widthTw);
    }
    bool loadMimic(const QString& path, QString* error) override
    {
        calls << QStringLiteral("mimic ") + QFileInfo(path).fileName();
        mimicPath = path;
        QImageReader reader(path);
        if (reader.canRead())
            return true;
        *error = reader.errorString();
        return false;
    }
    void raiseByteArrayToggle() override { calls << QStringLiteral("byte array"); }
    void placeControlWindows(const std::optional<Places>& p) override
    {
        calls << QStringLiteral("place");
        placed = p;
    }
    Places controlWindowPlaces() const override { return places; }
    void showCoilView(const CoilView& v) override { view = v; }
    void setCoilButtonSizes(int w, int h, int font) override
    {
        calls << QStringLiteral("coil sizes %1x%2 %3pt").arg(w).arg(h).arg(font);
    }
    void setLocoButtonHeight(int index, int heightTw) override
    {
        calls << QStringLiteral("loco %1 %2").arg(index).arg(heightTw);
    }

    QStringList calls;
    QString mimicPath;
    std::optional<Places> placed;
    Places places{};
    CoilView view;
};
