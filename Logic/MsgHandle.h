#pragma once
#include "Logic/SocketMsg.h"

#include <QByteArray>

// Builds the XML bodies the program sends and parses the status report.
class CMsgHandle {
public:
    static constexpr int kMaxBody = 2047;

    // 0, or -1 when the parameters are missing or the body would not fit.
    static int BuildRequestConnection(char* body, const ReqConnParams* params, int* length);
    static int BuildRequestStatus(char* body, const QString* protocal, int* length);
    // Decrypts `payload` in place, then parses it into `info`. 0, or -1 after
    // logging why.
    static int ParseReportStatusMsg(uint8_t* payload, int length, ReportStatusInfo* info);
};
