#include "store/CppSQLite3DB.h"

#include "store/CppSQLite3Exception.h"

#include <sqlite3.h>

namespace {
// A schema change makes a compiled statement stale; compile it again, a few times at most.
constexpr int kSchemaRetries = 8;
} // namespace

CppSQLite3DB& CppSQLite3DB::GetInstance()
{
    static CppSQLite3DB* instance = new CppSQLite3DB; // lives until the process ends
    return *instance;
}

CppSQLite3DB::~CppSQLite3DB()
{
    try {
        Close();
    } catch (const CppSQLite3Exception&) {
        // Nobody is left to tell at this point.
    }
}

void CppSQLite3DB::Raise(int code)
{
    throw CppSQLite3Exception(code, static_cast<const char16_t*>(sqlite3_errmsg16(m_db)));
}

void CppSQLite3DB::Open(const QString& path)
{
    std::lock_guard guard(m_lock);
    Close();
    const int rc = sqlite3_open16(path.utf16(), &m_db);
    if (rc != SQLITE_OK) {
        const CppSQLite3Exception error(rc, static_cast<const char16_t*>(sqlite3_errmsg16(m_db)));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw error;
    }
    sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
    // Write-ahead logging with normal syncs: a device report (three statements)
    // costs microseconds instead of three fsyncs, and readers never block the writer.
    sqlite3_exec(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr,
                 nullptr);
}

void CppSQLite3DB::Close()
{
    std::lock_guard guard(m_lock);
    if (!m_db)
        return;
    const int rc = sqlite3_close(m_db);
    if (rc != SQLITE_OK)
        Raise(rc);
    m_db = nullptr;
}

void CppSQLite3DB::CheckOpen() const
{
    if (!m_db)
        throw CppSQLite3Exception(CppSQLite3Exception::kWrapperError,
                                  QStringLiteral("Database not open"));
}

sqlite3_stmt* CppSQLite3DB::Compile(const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare16(m_db, sql.utf16(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        Raise(rc);
    }
    if (!stmt) // white space or a comment only: nothing to run
        throw CppSQLite3Exception(SQLITE_MISUSE, QStringLiteral("empty statement"));
    return stmt;
}

int CppSQLite3DB::Execute(const QString& sql)
{
    std::lock_guard guard(m_lock);
    CheckOpen();
    for (int attempt = 0;; ++attempt) {
        sqlite3_stmt* stmt = Compile(sql);
        const int step = sqlite3_step(stmt);
        if (step == SQLITE_ERROR) {
            sqlite3_finalize(stmt); // makes the precise error text available
            Raise(SQLITE_ERROR);
        }
        const int fin = sqlite3_finalize(stmt);
        if (fin == SQLITE_SCHEMA && attempt < kSchemaRetries)
            continue;
        if (step == SQLITE_DONE || step == SQLITE_ROW)
            return 0;
        Raise(fin != SQLITE_OK ? fin : step);
    }
}

CppSQLite3Query CppSQLite3DB::Query(const QString& sql)
{
    std::lock_guard guard(m_lock);
    CheckOpen();
    for (int attempt = 0;; ++attempt) {
        sqlite3_stmt* stmt = Compile(sql);
        const int step = sqlite3_step(stmt);
        if (step == SQLITE_DONE || step == SQLITE_ROW)
            return CppSQLite3Query(m_db, stmt, step == SQLITE_DONE);
        const int fin = sqlite3_finalize(stmt);
        if (fin == SQLITE_SCHEMA && attempt < kSchemaRetries)
            continue;
        Raise(fin != SQLITE_OK ? fin : step);
    }
}
