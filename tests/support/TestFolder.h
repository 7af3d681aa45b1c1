#pragma once

#include "ProgramFolder.h"
#include "QtPrint.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A throw-away program folder with a data folder inside.
class TestFolder {
public:
    TestFolder();

    QString path() const { return dir_.path(); }
    const ProgramFolder& folder() const { return folder_; }
    // Writes a file given by a path below the program folder ("data/text/x.txt").
    void write(const QString& relative, const QByteArray& content) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    // Puts a small bitmap at data/Layouts/<name>.bmp.
    void addLayout(const QString& name, int width = 64, int height = 48) const;

private:
    QTemporaryDir dir_;
    ProgramFolder folder_;
};

QString PrintableBytes(const QByteArray& bytes);
