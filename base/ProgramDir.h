#pragma once
#include <QString>

// The directory of the running program file, without a trailing separator.
// Every file of the program is found below it.
QString GetProgramDir();
// The program directory, a separator and the relative path. Backslashes in the
// relative path are taken as separators, so "DB\\Kestrovane.db" is DB/Kestrovane.db.
QString MakeProgramPath(const QString& relative);
// Points the program at another directory (tests use a throwaway one).
void SetProgramDir(const QString& dir);
