#include "Accessories.h"

#include "Dialogs.h"
#include "Launcher.h"
#include "ProgramFolder.h"
#include "Sound.h"

#include <QDir>
#include <QFileInfo>

Accessories::Accessories(const ProgramFolder& folder, Dialogs& dialogs, Sound* sound, Launcher* launcher)
    : folder_(folder)
    , dialogs_(dialogs)
    , sound_(sound)
    , launcher_(launcher)
{
}

QString Accessories::programFile(const char* literal) const
{
    return folder_.resolve(QString::fromLatin1(literal));
}

QString Accessories::dataFolder() const
{
    return QDir::toNativeSeparators(folder_.dataPath());
}

void Accessories::PlaySound()
{
    if (sound_)
        sound_->play(SoundFile);
}

Accessories::WordPadCommand Accessories::wordPadCommand() const
{
    WordPadCommand command;
    command.document = programFile("\\data\\text\\version.txt");
    // The word processor of the program folder, by its Windows name or
    // without the extension as a Linux program would be called.
    for (const char* literal : {"\\wordpad.exe", "\\wordpad"}) {
        const QFileInfo candidate(programFile(literal));
        if (candidate.isFile() && candidate.isExecutable()) {
            command.program = candidate.filePath();
            command.arguments = QStringList{command.document};
            break;
        }
    }
    return command;
}

void Accessories::OpenInWordPad()
{
    const WordPadCommand command = wordPadCommand();
    if (launcher_) {
        if (!command.program.isEmpty() && launcher_->start(command.program, command.arguments))
            return;
        if (launcher_->openDocument(command.document))
            return;
    }
    const QString tried = command.program.isEmpty()
        ? QStringLiteral("There is no word processor (wordpad) in the program folder and no default editor "
                         "for text files on this desktop.")
        : QStringLiteral("%1 could not be started, and there is no default editor for text files on this "
                         "desktop.")
              .arg(QDir::toNativeSeparators(command.program));
    dialogs_.message(QStringLiteral("Varnolix could not open %1.\n%2\nOpen the file with any text editor: it "
                                    "holds the control system in double quotes.")
                         .arg(QDir::toNativeSeparators(command.document), tried),
                     QStringLiteral("Varnolix"), Dialogs::Critical);
}
