#pragma once
#include "store/CppSQLite3Query.h"

#include <QString>
#include <mutex>

struct sqlite3;

// The connection to the program's database. One instance serves every thread:
// its re-entrant lock serialises each statement's compile and first step.
// Failures are raised as CppSQLite3Exception.
class CppSQLite3DB {
public:
    static constexpr int kBusyTimeoutMs = 60000;

    static CppSQLite3DB& GetInstance();

    CppSQLite3DB() = default;
    CppSQLite3DB(const CppSQLite3DB&) = delete;
    CppSQLite3DB& operator=(const CppSQLite3DB&) = delete;
    virtual ~CppSQLite3DB();

    void Open(const QString& path);
    void Close();
    // Runs one statement that yields no rows. Returns 0; every failure raises,
    // including a statement that could not complete (still busy, misuse).
    int Execute(const QString& sql);
    CppSQLite3Query Query(const QString& sql);

    std::recursive_mutex& Lock() { return m_lock; }

private:
    void CheckOpen() const;
    struct sqlite3_stmt* Compile(const QString& sql);
    [[noreturn]] void Raise(int code);

    sqlite3* m_db = nullptr;
    int m_busyTimeoutMs = kBusyTimeoutMs;
    std::recursive_mutex m_lock;
};
