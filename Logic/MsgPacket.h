#pragma once
// Packets as they travel: the header around a body, and the report cipher.
#include "Logic/SocketMsg.h"

int BuildReqConnMsg(const ReqConnParams* params, SocketMsg* msg);
int BuildReqStatusMsg(const QString* protocal, SocketMsg* msg);

// Writes the ten header bytes for a body of `bodyLength` bytes.
void WritePacketHeader(uint8_t* packet, int id, int bodyLength);
int PacketMessageId(const uint8_t* packet);   // little-endian at offset 4
int PacketPayloadLength(const uint8_t* packet); // big-endian at offset 8

extern const char kReportKey[33];

// AES-256-CBC with a zero IV, no padding check. Whole 16-byte blocks of `cipher`
// are decrypted into `out`, which must hold `length + 1` bytes; a trailing
// partial block is not read and leaves zeros. 0, or -1 on a missing pointer or
// a cipher failure.
int DecryptReportBody(const uint8_t* cipher, int length, uint8_t* out);
