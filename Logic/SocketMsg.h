#pragma once
// Records that carry device packets through the program, and the packet constants.
#include <QString>
#include <cstdint>

constexpr int MSG_ID_REQUEST_CONNECTION = 0x1001;
constexpr int MSG_ID_REQUEST_STATUS = 0x1002;
constexpr int MSG_ID_REPORT_STATUS = 0x102;

constexpr int kPacketHeaderLength = 10;
constexpr int kMaxPacketLength = 4096;

// One packet, header first. Plain bytes, so it can be posted as a queue payload.
struct SocketMsg {
    char16_t PeerIP[16];
    int32_t PeerPort;
    int32_t Socket;
    int32_t Length; // whole packet, header included
    uint8_t Data[kMaxPacketLength];
};

struct ReqConnParams {
    QString Protocal;
    QString IP;
    int Port = 0;
    int Force = 0;
    int HeartBeatPeriod = 0;
};

// A parsed status report. A value that does not fit its capacity (which counts
// a terminator) leaves its field empty.
struct ReportStatusInfo {
    static constexpr int kProtocalCap = 16;
    static constexpr int kDeviceIDCap = 24;
    static constexpr int kExtensionCap = 12;
    static constexpr int kTypeCap = 12;
    static constexpr int kIPCap = 16;
    static constexpr int kMACCap = 20;
    static constexpr int kStatusCap = 16;
    static constexpr int kSWVerCap = 16;
    static constexpr int kHWVerCap = 32;
    static constexpr int kServerCap = 256;

    QString Protocal;
    QString DeviceID;
    QString Extension;
    QString Type;
    QString IP;
    QString SM;
    QString GW;
    QString DNS1;
    QString DNS2;
    QString MAC;
    QString Status;
    QString SWVer;
    QString HWVer;
    QString DownloadServer;
    QString UploadServer;
};

// Payload of CTRL_MSG_DEVICE_CONNECTED.
struct DeviceConnectedInfo {
    char16_t PeerIP[16];
    int32_t PeerPort;
};

// Copies at most `capacity - 1` code units and always terminates.
void CopyIpText(char16_t (&field)[16], const QString& ip);
QString IpText(const char16_t (&field)[16]);
