#include "store/CppSQLite3Query.h"

#include "store/CppSQLite3Exception.h"

#include <cwchar>
#include <sqlite3.h>
#include <utility>

CppSQLite3Query::CppSQLite3Query(sqlite3* db, sqlite3_stmt* stmt, bool atEnd)
    : m_db(db), m_stmt(stmt), m_atEnd(atEnd), m_columns(stmt ? sqlite3_column_count(stmt) : 0)
{
}

CppSQLite3Query::CppSQLite3Query(CppSQLite3Query&& o) noexcept
    : m_db(o.m_db), m_stmt(std::exchange(o.m_stmt, nullptr)), m_atEnd(o.m_atEnd),
      m_columns(o.m_columns), m_ownsStatement(o.m_ownsStatement)
{
}

CppSQLite3Query& CppSQLite3Query::operator=(CppSQLite3Query&& o) noexcept
{
    if (this != &o) {
        Finalize();
        m_db = o.m_db;
        m_stmt = std::exchange(o.m_stmt, nullptr);
        m_atEnd = o.m_atEnd;
        m_columns = o.m_columns;
        m_ownsStatement = o.m_ownsStatement;
    }
    return *this;
}

CppSQLite3Query::~CppSQLite3Query() { Finalize(); }

void CppSQLite3Query::Finalize()
{
    if (m_stmt && m_ownsStatement)
        sqlite3_finalize(m_stmt); // an error here has nowhere to go
    m_stmt = nullptr;
}

void CppSQLite3Query::CheckStatement() const
{
    if (!m_stmt)
        throw CppSQLite3Exception(CppSQLite3Exception::kWrapperError,
                                  QStringLiteral("Null Virtual Machine pointer"));
}

void CppSQLite3Query::CheckColumn(int column) const
{
    CheckStatement();
    if (column < 0 || column >= m_columns)
        throw CppSQLite3Exception(CppSQLite3Exception::kWrapperError,
                                  QStringLiteral("Invalid field index requested"));
}

bool CppSQLite3Query::AtEnd() const
{
    CheckStatement();
    return m_atEnd;
}

void CppSQLite3Query::MoveNext()
{
    CheckStatement();
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_DONE) {
        m_atEnd = true;
    } else if (rc != SQLITE_ROW) {
        const int fin = sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        m_atEnd = true;
        throw CppSQLite3Exception(fin != SQLITE_OK ? fin : rc,
                                  static_cast<const char16_t*>(sqlite3_errmsg16(m_db)));
    }
}

int CppSQLite3Query::IntField(int column) const
{
    const char16_t* text = TextField(column);
    if (!text)
        return 0;
    // strtol's reading of a number, on UTF-16 text.
    const char16_t* p = text;
    while (*p == u' ' || (*p >= u'\t' && *p <= u'\r'))
        ++p;
    bool negative = false;
    if (*p == u'+' || *p == u'-')
        negative = *p++ == u'-';
    long long value = 0;
    for (; *p >= u'0' && *p <= u'9'; ++p)
        if (value <= 0x7FFFFFFFLL + 1)
            value = value * 10 + (*p - u'0');
    if (negative)
        value = -value;
    // A 32-bit long saturates the way strtol does on such a platform.
    if (value > 0x7FFFFFFFLL)
        return 0x7FFFFFFF;
    if (value < -0x80000000LL)
        return int(-0x7FFFFFFF - 1);
    return int(value);
}

const char16_t* CppSQLite3Query::TextField(int column) const
{
    CheckColumn(column);
    if (m_atEnd)
        return nullptr;
    return static_cast<const char16_t*>(sqlite3_column_text16(m_stmt, column));
}

void CopyFitting(QString& field, int capacity, const char16_t* text)
{
    if (!text)
        return;
    const size_t length = std::char_traits<char16_t>::length(text);
    if (length < size_t(capacity))
        field = QString::fromUtf16(text, qsizetype(length));
}

void CopyFitting(QString& field, int capacity, const QString& text)
{
    if (!text.isNull() && text.size() < capacity)
        field = text;
}
