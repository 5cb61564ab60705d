#include "store/CppSQLite3Exception.h"

#include "base/WFormat.h"

CppSQLite3Exception::CppSQLite3Exception(int code, const QString& detail)
    : m_code(code), m_message(WFormatV(QStringLiteral("%s[%d]: %s"), CodeName(code), code, detail))
{
}

CppSQLite3Exception::CppSQLite3Exception(int code, const char16_t* detail)
    : CppSQLite3Exception(code, detail ? QString::fromUtf16(detail) : QString())
{
}

QString CppSQLite3Exception::CodeName(int code)
{
    static const char* const names[] = {
        "SQLITE_OK",        "SQLITE_ERROR",    "SQLITE_INTERNAL", "SQLITE_PERM",
        "SQLITE_ABORT",     "SQLITE_BUSY",     "SQLITE_LOCKED",   "SQLITE_NOMEM",
        "SQLITE_READONLY",  "SQLITE_INTERRUPT", "SQLITE_IOERR",   "SQLITE_CORRUPT",
        "SQLITE_NOTFOUND",  "SQLITE_FULL",     "SQLITE_CANTOPEN", "SQLITE_PROTOCOL",
        "SQLITE_EMPTY",     "SQLITE_SCHEMA",   "SQLITE_TOOBIG",   "SQLITE_CONSTRAINT",
        "SQLITE_MISMATCH",  "SQLITE_MISUSE",   "SQLITE_NOLFS",    "SQLITE_AUTH",
        "SQLITE_FORMAT",    "SQLITE_RANGE"};
    if (code >= 0 && code < int(std::size(names)))
        return QString::fromLatin1(names[code]);
    switch (code) {
    case 100:
        return QStringLiteral("SQLITE_ROW");
    case 101:
        return QStringLiteral("SQLITE_DONE");
    case kWrapperError:
        return QStringLiteral("CPPSQLITE_ERROR");
    default:
        return QStringLiteral("UNKNOWN_ERROR");
    }
}
