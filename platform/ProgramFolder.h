#pragma once

#include <QString>

// The program's own folder (the About sound, the word processor) and the
// data folder. Paths are formed from a literal such as
// "\data\text\version.txt" or "\telephone.wav": a literal whose first
// component is "data" lies in the data folder, any other in the program
// folder. By default the data folder is the "data" folder inside the
// program folder; an installed program keeps it in the user's home instead.
// The literals name the same folders in different letter cases ("data",
// "Data"; "VM110", "vm110"), so on a case-sensitive file system each
// component is matched ignoring case.
class ProgramFolder {
public:
    explicit ProgramFolder(QString folder);
    ProgramFolder(QString folder, QString dataFolder);

    const QString& path() const { return folder_; }
    // The data folder in use: the one given, or "data" in the program folder
    // found whatever its case.
    QString dataPath() const;
    // The real path of a literal: each existing component is found whatever
    // its case; components that do not exist yet keep the literal's case.
    QString resolve(const QString& literal) const;

private:
    QString folder_;
    QString dataFolder_; // empty: "data" inside folder_
};
