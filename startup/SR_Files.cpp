// The configuration files: version.txt, layout.txt and coord.txt.
#include "SR.h"

#include "DataFile.h"
#include "Dialogs.h"
#include "FieldFormat.h"
#include "ProgramFolder.h"

#include <algorithm>
#include <cstdio>
#include <limits>

std::optional<QString> SR::readOneText(const QString& path)
{
    const auto file = readDataFile(path);
    if (!file.ok)
        return std::nullopt;
    FieldReader reader(file.content);
    return reader.readText();
}

data_file::ReadResult SR::readDataFile(const QString& path)
{
    auto file = data_file::readCreatingEmpty(path);
    // Other failures show when the file is written; one too large to read
    // is left alone, so it is named now.
    if (file.tooLarge)
        dialogs_.message(file.error, QStringLiteral("Varnolix"), Dialogs::Critical);
    return file;
}

QString SR::path(const char* literal) const
{
    return folder_.resolve(QString::fromLatin1(literal));
}

void SR::reportWriteError(const QString& error)
{
    dialogs_.reportUnsaved(error, QStringLiteral("Check that the data folder is writable and the disk has space; "
                                                 "Varnolix goes on with the values it has."));
}

void SR::ReadControlSystem()
{
    if (const auto value = readOneText(path("\\data\\text\\version.txt")))
        shared_.ControlSystem = *value;
}

void SR::WriteControlSystem()
{
    FieldWriter writer;
    writer.text(shared_.ControlSystem).endLine();
    reportWriteError(data_file::writeAtomically(path("\\data\\text\\version.txt"), writer));
}

void SR::ReadLayoutName()
{
    if (const auto value = readOneText(path("\\data\\text\\layout.txt")))
        shared_.LayoutName = *value;
}

void SR::WriteLayoutName()
{
    FieldWriter writer;
    writer.text(shared_.LayoutName).endLine();
    reportWriteError(data_file::writeAtomically(path("\\data\\text\\layout.txt"), writer));
}

void SR::ReadWindowCoords()
{
    std::optional<WindowHost::Places> places;
    const auto file = readDataFile(path("\\data\\text\\coord.txt"));
    if (file.ok) {
        FieldReader reader(file.content);
        WindowHost::Places read{};
        bool complete = true;
        for (std::size_t i = 0; i < read.size() && complete; ++i) {
            const auto number = reader.readNumber();
            complete = number && *number >= std::numeric_limits<std::int16_t>::min()
                && *number <= std::numeric_limits<std::int16_t>::max();
            if (complete) {
                read[i] = static_cast<int>(*number);
                WindowCoords[i] = static_cast<std::int16_t>(*number);
            }
        }
        // Missing, short or garbled: the windows get their default places.
        if (complete)
            places = read;
    }
    windows_.placeControlWindows(places);
}

void SR::SaveWindowCoords()
{
    const WindowHost::Places places = windows_.controlWindowPlaces();
    FieldWriter writer;
    for (std::size_t i = 0; i < places.size(); ++i) {
        WindowCoords[i] = static_cast<std::int16_t>(std::clamp<int>(
            places[i], std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
        writer.number(WindowCoords[i]);
    }
    writer.endLine();
    // Saved as the program ends: a box that waits for OK would hold up the
    // end (and no event loop may run to show it), so standard error says it.
    const QString error = data_file::writeAtomically(path("\\data\\text\\coord.txt"), writer);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "Varnolix: %s\nThe windows open in their usual places next time.\n",
                     error.toLocal8Bit().constData());
        std::fflush(stderr);
    }
}
