#include "Logic/PacketFramer.h"

#include <cstring>

FrameResult FramePacket(const uint8_t* data, int length, SocketMsg* msg)
{
    int search = 0;
    for (;;) {
        int i = search;
        while (i + 1 < length && !(data[i] == 0xBC && data[i + 1] == 0xDE))
            ++i;
        if (i + 1 >= length) {
            FrameResult none;
            if (length > 0 && data[length - 1] == 0xBC)
                none.keepFrom = length - 1;
            return none;
        }
        if (length - i < kPacketHeaderLength)
            return {false, 0, i};
        const int size =
            ((data[i + 6] << 8) | data[i + 7]) + ((data[i + 8] << 8) | data[i + 9]);
        // A size below the header's own ten bytes is as invalid as one above 4096:
        // taking it would consume nothing and find the same magic again.
        if (size > kMaxPacketLength || size < kPacketHeaderLength) {
            search = i + 2;
            continue;
        }
        if (length - i < size)
            return {false, 0, i};
        std::memcpy(msg->Data, data + i, size_t(size));
        msg->Length = size;
        return {true, i + size, -1};
    }
}
