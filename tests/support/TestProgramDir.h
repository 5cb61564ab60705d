#pragma once
#include <QString>
#include <QTemporaryDir>

// A throwaway program directory laid out by the same recipe as the build's,
// with the program pointed at it and its database open.
class TestProgramDir {
public:
    TestProgramDir();
    ~TestProgramDir();
    QString Path() const { return m_dir.path(); }
    QString File(const QString& relative) const { return m_dir.filePath(relative); }
    QString DbPath() const { return File(QStringLiteral("DB/Kestrovane.db")); }

private:
    QTemporaryDir m_dir;
};
