#pragma once
#include <QString>

// Lays out a program directory: DB/Kestrovane.db made from the schema when no
// database file is there yet (an existing one is never touched), config/,
// Devices/UpdateTo/, Devices/UpdateFrom/ and Resources/UI/ with the pictures
// copied from picturesDir when given. Returns an empty text or what failed.
QString LayoutProgramDir(const QString& dir, const QString& schemaPath,
                         const QString& picturesDir = QString());

// Creates a database file from a file of SQL statements. Returns an empty text or what failed.
QString CreateDatabaseFromSchema(const QString& dbPath, const QString& schemaPath);
