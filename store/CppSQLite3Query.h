#pragma once
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// A result set positioned on its current row. Moves, never copies; the
// statement is finalised when the query ends.
class CppSQLite3Query {
public:
    CppSQLite3Query(sqlite3* db, sqlite3_stmt* stmt, bool atEnd);
    CppSQLite3Query(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query& operator=(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query(const CppSQLite3Query&) = delete;
    CppSQLite3Query& operator=(const CppSQLite3Query&) = delete;
    virtual ~CppSQLite3Query();

    bool AtEnd() const;
    void MoveNext();
    int ColumnCount() const { return m_columns; }
    // The column as a decimal number (leading blanks, sign, digits); null reads 0.
    int IntField(int column) const;
    // The column as UTF-16 text, valid until the next MoveNext; null for a null value.
    const char16_t* TextField(int column) const;

private:
    void CheckStatement() const;
    void CheckColumn(int column) const;
    void Finalize();

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    bool m_atEnd = true;
    int m_columns = 0;
    bool m_ownsStatement = true;
};

// Copies text into a field of the given capacity (counting the terminator) only
// when it fits; otherwise, or for null text, the field keeps its content.
void CopyFitting(QString& field, int capacity, const char16_t* text);
void CopyFitting(QString& field, int capacity, const QString& text);
