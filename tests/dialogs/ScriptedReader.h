#pragma once
#include "ui/DcReader.h"

#include <QByteArray>
#include <QStringList>
#include <cstring>
#include <optional>

// A card reader that answers each read with the next prepared serial number
// (none: no card) and notes every call it gets. Installed for its lifetime.
class ScriptedReader : public CDcReaderBackend {
public:
    ScriptedReader() { SetDcReaderBackend(this); }
    ~ScriptedReader() override { SetDcReaderBackend(nullptr); }

    std::optional<QByteArray> nextSerial;
    QStringList calls;

    int Init(int port, long baud) override {
        calls << QStringLiteral("init %1 %2").arg(port).arg(baud);
        return 7;
    }
    int16_t ConfigCard(int handle, unsigned char type) override {
        calls << QStringLiteral("config %1 %2").arg(handle).arg(type);
        return 0;
    }
    int16_t CardHex(int handle, unsigned char mode, unsigned char* snr) override {
        calls << QStringLiteral("card_hex %1 %2").arg(handle).arg(mode);
        if (!nextSerial)
            return 1;
        std::memcpy(snr, nextSerial->constData(),
                    std::min<qsizetype>(nextSerial->size(), kDcSnrBufferSize));
        return 0;
    }
    int16_t Beep(int handle, unsigned short msec) override {
        calls << QStringLiteral("beep %1 %2").arg(handle).arg(msec);
        return 0;
    }
    int16_t Exit(int handle) override {
        calls << QStringLiteral("exit %1").arg(handle);
        return 0;
    }
};
