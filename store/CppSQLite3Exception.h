#pragma once
#include <QString>

// The one error type of the database wrapper. Its message reads
// "<code name>[<code>]: <detail>", for example "SQLITE_ERROR[1]: no such table: Devices".
class CppSQLite3Exception {
public:
    static constexpr int kWrapperError = 1000;

    CppSQLite3Exception(int code, const QString& detail);
    CppSQLite3Exception(int code, const char16_t* detail);
    virtual ~CppSQLite3Exception() = default;

    int GetCode() const { return m_code; }
    const QString& GetText() const { return m_message; }
    static QString CodeName(int code);

private:
    int m_code;
    QString m_message;
};
