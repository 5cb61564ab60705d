#pragma once
// The log datagram: magic BE BF, level (16-bit little-endian), the tag
// "Kestrovane" in UTF-16LE padded to 16 code units, then the text in UTF-16LE
// without terminator. A text of 512 code units or more is sent empty.
#include <QByteArray>
#include <QString>
#include <optional>

namespace LogPacket {

constexpr int kHeaderSize = 36;
constexpr int kMaxTextUnits = 511;
constexpr int kLevelInfo = 6;
constexpr int kLevelError = 3;

QByteArray Build(int level, const QString& text);

struct Decoded {
    int level = 0;
    QString tag;
    QString text;
};
// Empty when the bytes are not a log packet (too short, wrong magic, odd length).
std::optional<Decoded> Decode(const QByteArray& datagram);

} // namespace LogPacket
