#include "base/LogPacket.h"

namespace LogPacket {

namespace {
const char16_t kTag[] = u"Kestrovane";
constexpr int kTagUnits = 16;

void PutUnit(QByteArray& out, char16_t u)
{
    out.append(static_cast<char>(u & 0xFF));
    out.append(static_cast<char>(u >> 8));
}

char16_t UnitAt(const QByteArray& in, qsizetype off)
{
    return static_cast<char16_t>(static_cast<unsigned char>(in[off]) |
                                 (static_cast<unsigned char>(in[off + 1]) << 8));
}
} // namespace

QByteArray Build(int level, const QString& text)
{
    const bool fits = text.size() <= kMaxTextUnits;
    QByteArray out;
    out.reserve(kHeaderSize + (fits ? 2 * text.size() : 0));
    PutUnit(out, 0xBFBE);
    PutUnit(out, static_cast<char16_t>(level));
    for (int i = 0; i < kTagUnits; ++i)
        PutUnit(out, i < int(std::char_traits<char16_t>::length(kTag)) ? kTag[i] : u'\0');
    if (fits)
        for (QChar c : text)
            PutUnit(out, c.unicode());
    return out;
}

std::optional<Decoded> Decode(const QByteArray& d)
{
    if (d.size() < kHeaderSize || d.size() % 2 != 0 || UnitAt(d, 0) != 0xBFBE)
        return std::nullopt;
    Decoded r;
    r.level = UnitAt(d, 2);
    for (int i = 0; i < kTagUnits; ++i) {
        const char16_t u = UnitAt(d, 4 + 2 * i);
        if (u == 0)
            break;
        r.tag += QChar(u);
    }
    for (qsizetype off = kHeaderSize; off < d.size(); off += 2)
        r.text += QChar(UnitAt(d, off));
    return r;
}

} // namespace LogPacket
