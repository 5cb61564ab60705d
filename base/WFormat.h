#pragma once
// printf-style formatting of UTF-16 text, used for log lines and SQL statements.
// Conversions: %s (text), %d %i %u %x %X %c (integers), %% (one percent sign),
// with the flags '-' '0' '+' ' ', a width and, for %s, a precision. Length
// modifiers (h, l, ll, z) are accepted and ignored. Arguments the format does not
// use are ignored; a placeholder without an argument yields nothing.
#include <QString>
#include <cstdint>
#include <initializer_list>

class FmtArg {
public:
    FmtArg(int v) : m_int(v) {}
    FmtArg(unsigned v) : m_int(v) {}
    FmtArg(long v) : m_int(v) {}
    FmtArg(unsigned long v) : m_int(static_cast<qint64>(v)) {}
    FmtArg(long long v) : m_int(v) {}
    FmtArg(unsigned long long v) : m_int(static_cast<qint64>(v)) {}
    FmtArg(const QString& s) : m_isText(true), m_text(s) {}
    FmtArg(const char16_t* s) : m_isText(true), m_text(s ? QString::fromUtf16(s) : QString()) {}
    FmtArg(const char* s) : m_isText(true), m_text(s ? QString::fromUtf8(s) : QString()) {}

    bool IsText() const { return m_isText; }
    qint64 Int() const { return m_isText ? m_text.toLongLong() : m_int; }
    QString Text() const { return m_isText ? m_text : QString::number(m_int); }

private:
    bool m_isText = false;
    qint64 m_int = 0;
    QString m_text;
};

QString WFormat(const QString& format, std::initializer_list<FmtArg> args);

template <class... A> QString WFormatV(const QString& format, const A&... args)
{
    return WFormat(format, {FmtArg(args)...});
}
