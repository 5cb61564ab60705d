#pragma once
#include "Logic/SocketMsg.h"

// What one look at the start of a stretch found.
struct FrameResult {
    bool packet = false; // a packet was copied into the record
    int consumed = 0;    // with a packet: bytes used up to its end
    int keepFrom = -1;   // without: first byte to keep for the next receive, -1 none
};

// Finds the next packet in a stretch of a byte stream: skips bytes before the
// magic BC DE, keeps a trailing lone BC, and skips two bytes past a header that
// announces more than 4096 bytes.
FrameResult FramePacket(const uint8_t* data, int length, SocketMsg* msg);
