#pragma once
#include <cstdint>

// The calls of the USB RF card reader library. Each goes to the installed
// backend; without one, the reader is absent and every read answers "no card".
class CDcReaderBackend {
public:
    virtual ~CDcReaderBackend() = default;
    virtual int Init(int port, long baud) = 0;
    virtual int16_t ConfigCard(int handle, unsigned char cardType) = 0;
    // 0 and the card's serial number as zero-terminated hex text in `snr`
    // (1024 bytes), or non-zero when no card was read.
    virtual int16_t CardHex(int handle, unsigned char mode, unsigned char* snr) = 0;
    virtual int16_t Beep(int handle, unsigned short msec) = 0;
    virtual int16_t Exit(int handle) = 0;
};

// Installs the backend the calls go to; null restores the absent reader.
// The caller keeps ownership and keeps it alive while it is installed.
void SetDcReaderBackend(CDcReaderBackend* backend);

constexpr int kDcSnrBufferSize = 1024;

int dc_init(int port, long baud);
int16_t dc_config_card(int handle, unsigned char cardType);
int16_t dc_card_hex(int handle, unsigned char mode, unsigned char* snr);
int16_t dc_beep(int handle, unsigned short msec);
int16_t dc_exit(int handle);
