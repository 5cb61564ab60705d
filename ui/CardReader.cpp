#include "ui/CardReader.h"

#include "base/Log.h"
#include "ui/DcReader.h"

#include <algorithm>
#include <array>

namespace {
constexpr int kPort = 100;
constexpr long kBaud = 115200;
constexpr unsigned char kTypeACards = 65; // 'A'
constexpr unsigned short kBeepMs = 10;

bool IsHexText(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return false;
    }
    return true;
}
} // namespace

CCardReader* CCardReader::GetInstance() {
    static CCardReader* instance = new CCardReader; // lives until the process ends
    return instance;
}

QString CCardReader::ReverseByteOrder(const QString& hex) {
    QString text = hex;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length - 1; i += 2)
        std::swap(text[i], text[i + 1]);
    std::reverse(text.begin(), text.end());
    return text;
}

int CCardReader::ReadCardCode(QString& code) {
    std::array<unsigned char, kDcSnrBufferSize> buffer{};
    m_handle = dc_init(kPort, kBaud);
    dc_config_card(m_handle, kTypeACards);
    if (dc_card_hex(m_handle, 0, buffer.data()) != 0) {
        dc_exit(m_handle);
        return -1;
    }
    const QString serial = QString::fromUtf8(reinterpret_cast<const char*>(buffer.data()));
    // A cut or garbled serial number would store a code no card has: refuse it.
    if (serial.isEmpty() || serial.size() >= kCodeChars || !IsHexText(serial)) {
        LogError(QStringLiteral("%s: unusable card number %s"),
                 QStringLiteral("CCardReader::ReadCardCode"), serial.left(64));
        dc_exit(m_handle);
        return -1;
    }
    code = ReverseByteOrder(serial);
    dc_beep(m_handle, kBeepMs);
    dc_exit(m_handle);
    return 0;
}
