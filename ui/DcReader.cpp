#include "ui/DcReader.h"

#include <atomic>

namespace {

// No reader attached: a handle that means nothing and never a card.
class CAbsentReader : public CDcReaderBackend {
public:
    int Init(int, long) override { return -1; }
    int16_t ConfigCard(int, unsigned char) override { return -1; }
    int16_t CardHex(int, unsigned char, unsigned char*) override { return -1; }
    int16_t Beep(int, unsigned short) override { return -1; }
    int16_t Exit(int) override { return -1; }
};

CAbsentReader g_absent;
std::atomic<CDcReaderBackend*> g_backend{nullptr};

CDcReaderBackend& Backend() {
    CDcReaderBackend* backend = g_backend.load();
    return backend ? *backend : g_absent;
}

} // namespace

void SetDcReaderBackend(CDcReaderBackend* backend) {
    g_backend.store(backend);
}

int dc_init(int port, long baud) {
    return Backend().Init(port, baud);
}

int16_t dc_config_card(int handle, unsigned char cardType) {
    return Backend().ConfigCard(handle, cardType);
}

int16_t dc_card_hex(int handle, unsigned char mode, unsigned char* snr) {
    if (!snr)
        return -1;
    const int16_t result = Backend().CardHex(handle, mode, snr);
    snr[kDcSnrBufferSize - 1] = 0; // whatever the backend wrote, the text ends inside the buffer
    return result;
}

int16_t dc_beep(int handle, unsigned short msec) {
    return Backend().Beep(handle, msec);
}

int16_t dc_exit(int handle) {
    return Backend().Exit(handle);
}
