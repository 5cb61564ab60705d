#include "base/WFormat.h"

#include <vector>

namespace {

QString Pad(const QString& body, int width, bool left, QChar fill)
{
    if (body.size() >= width)
        return body;
    const QString pad(width - body.size(), fill);
    return left ? body + pad : pad + body;
}

QString FormatInt(const FmtArg* arg, QChar conv, bool plus, bool space, bool left, bool zero,
                  int width)
{
    if (!arg)
        return QString();
    const qint64 v = arg->Int();
    QString digits;
    bool negative = false;
    switch (conv.unicode()) {
    case 'u':
        digits = QString::number(static_cast<quint32>(v));
        break;
    case 'x':
        digits = QString::number(static_cast<quint32>(v), 16);
        break;
    case 'X':
        digits = QString::number(static_cast<quint32>(v), 16).toUpper();
        break;
    default: // d, i
        negative = static_cast<qint32>(v) < 0;
        digits = QString::number(negative ? -static_cast<qint64>(static_cast<qint32>(v))
                                          : static_cast<qint64>(static_cast<qint32>(v)));
        break;
    }
    QString sign = negative ? QStringLiteral("-")
                   : (plus && (conv == 'd' || conv == 'i')) ? QStringLiteral("+")
                   : (space && (conv == 'd' || conv == 'i')) ? QStringLiteral(" ")
                                                               : QString();
    if (zero && !left)
        return sign + Pad(digits, width - sign.size(), false, QLatin1Char('0'));
    return Pad(sign + digits, width, left, QLatin1Char(' '));
}

} // namespace

QString WFormat(const QString& format, std::initializer_list<FmtArg> args)
{
    const std::vector<const FmtArg*> list = [&] {
        std::vector<const FmtArg*> v;
        for (const FmtArg& a : args)
            v.push_back(&a);
        return v;
    }();
    size_t next = 0;
    auto take = [&]() -> const FmtArg* { return next < list.size() ? list[next++] : nullptr; };

    QString out;
    out.reserve(format.size() + 16);
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%') || i + 1 >= n) {
            out += c;
            continue;
        }
        qsizetype j = i + 1;
        if (format.at(j) == QLatin1Char('%')) {
            out += QLatin1Char('%');
            i = j;
            continue;
        }
        bool left = false, zero = false, plus = false, space = false;
        for (; j < n; ++j) {
            const QChar f = format.at(j);
            if (f == QLatin1Char('-'))
                left = true;
            else if (f == QLatin1Char('0'))
                zero = true;
            else if (f == QLatin1Char('+'))
                plus = true;
            else if (f == QLatin1Char(' '))
                space = true;
            else if (f != QLatin1Char('#'))
                break;
        }
        int width = 0;
        for (; j < n && format.at(j).isDigit(); ++j)
            width = qMin(width * 10 + format.at(j).digitValue(), 4096);
        int precision = -1;
        if (j < n && format.at(j) == QLatin1Char('.')) {
            precision = 0;
            for (++j; j < n && format.at(j).isDigit(); ++j)
                precision = qMin(precision * 10 + format.at(j).digitValue(), 1 << 20);
        }
        while (j < n && QStringLiteral("hlLqjzt").contains(format.at(j)))
            ++j;
        if (j >= n) { // an unfinished placeholder is kept as written
            out += format.mid(i);
            break;
        }
        const QChar conv = format.at(j);
        switch (conv.unicode()) {
        case 's':
        case 'S': {
            const FmtArg* a = take();
            QString s = a ? a->Text() : QString();
            if (precision >= 0)
                s.truncate(precision);
            out += Pad(s, width, left, QLatin1Char(' '));
            break;
        }
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
            out += FormatInt(take(), conv, plus, space, left, zero, width);
            break;
        case 'c': {
            const FmtArg* a = take();
            out += Pad(a ? QString(QChar(static_cast<char16_t>(a->Int()))) : QString(), width,
                       left, QLatin1Char(' '));
            break;
        }
        default: // not a conversion we know: keep the text as written
            out += format.mid(i, j - i + 1);
            break;
        }
        i = j;
    }
    return out;
}
