#include "Logic/MsgPacket.h"

#include "Logic/MsgHandle.h"

#include <cstring>
#include <memory>
#include <openssl/evp.h>

const char kReportKey[33] = "Tirpel71840362#&Tirpel71840362#&";

void WritePacketHeader(uint8_t* packet, int id, int bodyLength)
{
    packet[0] = 0xBC;
    packet[1] = 0xDE;
    packet[2] = 0;
    packet[3] = 0;
    packet[4] = uint8_t(id & 0xFF);
    packet[5] = uint8_t((id >> 8) & 0xFF);
    packet[6] = 0;
    packet[7] = kPacketHeaderLength;
    packet[8] = uint8_t((bodyLength >> 8) & 0xFF);
    packet[9] = uint8_t(bodyLength & 0xFF);
}

int PacketMessageId(const uint8_t* packet) { return packet[4] | (packet[5] << 8); }

int PacketPayloadLength(const uint8_t* packet) { return (packet[8] << 8) | packet[9]; }

namespace {

template <class Build> int BuildPacket(SocketMsg* msg, int id, Build build)
{
    std::memset(msg, 0, sizeof *msg);
    int length = 0;
    if (build(reinterpret_cast<char*>(msg->Data + kPacketHeaderLength), &length) != 0)
        return -1;
    WritePacketHeader(msg->Data, id, length);
    msg->Length = length + kPacketHeaderLength;
    return 0;
}

} // namespace

int BuildReqConnMsg(const ReqConnParams* params, SocketMsg* msg)
{
    if (!params || !msg)
        return -1;
    return BuildPacket(msg, MSG_ID_REQUEST_CONNECTION, [&](char* body, int* length) {
        return CMsgHandle::BuildRequestConnection(body, params, length);
    });
}

int BuildReqStatusMsg(const QString* protocal, SocketMsg* msg)
{
    if (!protocal || !msg)
        return -1;
    return BuildPacket(msg, MSG_ID_REQUEST_STATUS, [&](char* body, int* length) {
        return CMsgHandle::BuildRequestStatus(body, protocal, length);
    });
}

int DecryptReportBody(const uint8_t* cipher, int length, uint8_t* out)
{
    if (!cipher || !out || length < 0)
        return -1;
    std::memset(out, 0, size_t(length) + 1);
    const int whole = length - length % 16;
    if (whole == 0)
        return 0;
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                       EVP_CIPHER_CTX_free);
    const unsigned char iv[16] = {};
    int n = 0;
    if (!ctx ||
        EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_cbc(), nullptr,
                           reinterpret_cast<const unsigned char*>(kReportKey), iv) != 1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
        EVP_DecryptUpdate(ctx.get(), out, &n, cipher, whole) != 1)
        return -1;
    int tail = 0;
    EVP_DecryptFinal_ex(ctx.get(), out + n, &tail);
    return 0;
}
