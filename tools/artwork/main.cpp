// Draws every picture the program ships and writes it into the source tree.
// Usage: varnolix-artwork <repository root>

#include "KnobFrames.h"
#include "LayoutMimic.h"
#include "LocoLogo.h"
#include "MotorPanel.h"
#include "Rle8Bmp.h"
#include "ToolbarIcons.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QTextStream>

#include <functional>

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

bool report(const QString &path, bool ok, const QString &why = {})
{
    if (ok)
        out() << QFileInfo(path).size() << '\t' << path << Qt::endl;
    else
        QTextStream(stderr) << "failed: " << path << ' ' << why << Qt::endl;
    return ok;
}

// Reads the file back the way the program will and compares every pixel.
bool loadsBackAs(const QString &path, const QImage &expected, QString &why)
{
    QImageReader reader(path);
    const QImage loaded = reader.read();
    if (loaded.isNull()) {
        why = reader.errorString();
        return false;
    }
    if (loaded.size() != expected.size()) {
        why = QStringLiteral("wrong size");
        return false;
    }
    const auto asStored = [](const QImage &i) {
        return i.convertToFormat(i.hasAlphaChannel() ? QImage::Format_ARGB32
                                                     : QImage::Format_RGB32);
    };
    if (asStored(loaded) != asStored(expected)) {
        why = QStringLiteral("pixels differ after reading back");
        return false;
    }
    return true;
}

bool save(const QString &path, const QImage &image, const char *format)
{
    QString why;
    const bool ok = image.save(path, format) && loadsBackAs(path, image, why);
    return report(path, ok, why);
}

bool saveMimic(const QString &path)
{
    const QImage indexed = artwork::reduceToIndexed(artwork::drawLayoutMimic());
    QString why;
    const bool ok = artwork::saveRle8Bmp(indexed, path) && loadsBackAs(path, indexed, why);
    return report(path, ok, why);
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing text needs a GUI application, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: varnolix-artwork <repository root>" << Qt::endl;
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString layouts = root.filePath(QStringLiteral("data/Layouts"));
    const QString vm110 = root.filePath(QStringLiteral("data/VM110"));
    const QString images = root.filePath(QStringLiteral("app/images"));
    for (const QString &dir : {layouts, vm110, images})
        if (!QDir().mkpath(dir))
            return report(dir, false, QStringLiteral("cannot create folder")), 1;

    using namespace artwork;
    bool ok = saveMimic(layouts + QStringLiteral("/Millbrook Junction.bmp"));

    const struct { Qt::ArrowType type; const char *name; } arrows[] = {
        {Qt::UpArrow, "arrow_up"}, {Qt::RightArrow, "arrow_right"},
        {Qt::DownArrow, "arrow_down"}, {Qt::LeftArrow, "arrow_left"}};
    for (const auto &a : arrows)
        ok &= save(images + '/' + QLatin1String(a.name) + ".png", drawScrollArrow(a.type), "PNG");
    const struct { const char *name; std::function<QImage()> draw; } icons[] = {
        {"modem_on", [] { return drawModemIcon(true); }},
        {"modem_off", [] { return drawModemIcon(false); }},
        {"view_toggle", drawViewToggleIcon},
        {"about", drawAboutIcon},
        {"wordpad", drawWordpadIcon},
        {"help", drawHelpIcon},
        {"exit", drawExitIcon}};
    for (const auto &i : icons)
        ok &= save(images + '/' + QLatin1String(i.name) + ".png", i.draw(), "PNG");

    ok &= save(vm110 + QStringLiteral("/DCClogoL.bmp"), drawLocoLogo(Facing::Left), "BMP");
    ok &= save(vm110 + QStringLiteral("/DCClogoR.bmp"), drawLocoLogo(Facing::Right), "BMP");
    ok &= save(vm110 + QStringLiteral("/LocoLogo.bmp"), drawLocoLogo(Facing::Right), "BMP");
    for (int frame = 0; frame < kKnobFrames; ++frame) {
        const QString n = QString::number(frame);
        ok &= save(vm110 + QStringLiteral("/KnobFwd") + n + ".bmp",
                   drawKnobFrame(KnobDirection::Forward, frame), "BMP");
        ok &= save(vm110 + QStringLiteral("/KnobRev") + n + ".bmp",
                   drawKnobFrame(KnobDirection::Reverse, frame), "BMP");
    }
    ok &= save(vm110 + QStringLiteral("/BoxHM.bmp"), drawMotorPanel(), "BMP");
    return ok ? 0 : 1;
}
