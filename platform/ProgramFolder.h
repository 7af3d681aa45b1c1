#pragma once

#include <QString>

// The folder that holds the executable and, beside it, the data folder.
// Paths are formed from the folder and a literal such as
// "\data\text\version.txt". The literals name the same folders in different
// letter cases ("data", "Data"; "VM110", "vm110"), so on a case-sensitive
// file system each component is matched ignoring case.
class ProgramFolder {
public:
    explicit ProgramFolder(QString folder);

    const QString& path() const { return folder_; }
    // The real path of a literal: each existing component is found whatever
    // its case; components that do not exist yet keep the literal's case.
    QString resolve(const QString& literal) const;

private:
    QString folder_;
};
