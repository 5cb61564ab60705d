#include "Logic/MsgHandle.h"

#include "Logic/MsgPacket.h"
#include "base/Log.h"
#include "store/CppSQLite3Query.h"

#include <cstdio>
#include <cstring>
#include <tinyxml2.h>
#include <vector>

namespace {

const char* const kParseFunc = "CMsgHandle::ParseReportStatusMsg";

// Appends formatted lines to a body that holds at most CMsgHandle::kMaxBody bytes.
class BodyWriter {
public:
    explicit BodyWriter(char* body) : m_body(body) { m_body[0] = '\0'; }

    template <class... A> void Line(const char* format, A... args)
    {
        char line[1024];
        const int n = std::snprintf(line, sizeof line, format, args...);
        if (n < 0 || n >= int(sizeof line) || m_length + n > CMsgHandle::kMaxBody) {
            m_failed = true;
            return;
        }
        std::memcpy(m_body + m_length, line, size_t(n) + 1);
        m_length += n;
    }
    int Finish(int* length) const
    {
        if (m_failed)
            return -1;
        *length = m_length;
        return 0;
    }

private:
    char* m_body;
    int m_length = 0;
    bool m_failed = false;
};

QByteArray Utf8(const QString& text) { return text.toUtf8().left(1023); }

void SetField(QString& field, int capacity, const char* utf8)
{
    field.clear();
    if (utf8)
        CopyFitting(field, capacity, QString::fromUtf8(utf8));
}

struct ParamField {
    const char* name;
    QString ReportStatusInfo::*field;
    int capacity;
};

const ParamField kParams[] = {
    {"DeviceID", &ReportStatusInfo::DeviceID, ReportStatusInfo::kDeviceIDCap},
    {"Extension", &ReportStatusInfo::Extension, ReportStatusInfo::kExtensionCap},
    {"Type", &ReportStatusInfo::Type, ReportStatusInfo::kTypeCap},
    {"IP", &ReportStatusInfo::IP, ReportStatusInfo::kIPCap},
    {"SM", &ReportStatusInfo::SM, ReportStatusInfo::kIPCap},
    {"GW", &ReportStatusInfo::GW, ReportStatusInfo::kIPCap},
    {"DNS1", &ReportStatusInfo::DNS1, ReportStatusInfo::kIPCap},
    {"DNS2", &ReportStatusInfo::DNS2, ReportStatusInfo::kIPCap},
    {"MAC", &ReportStatusInfo::MAC, ReportStatusInfo::kMACCap},
    {"Status", &ReportStatusInfo::Status, ReportStatusInfo::kStatusCap},
    {"SWVer", &ReportStatusInfo::SWVer, ReportStatusInfo::kSWVerCap},
    {"HWVer", &ReportStatusInfo::HWVer, ReportStatusInfo::kHWVerCap},
    {"DownloadServer", &ReportStatusInfo::DownloadServer, ReportStatusInfo::kServerCap},
    {"UploadServer", &ReportStatusInfo::UploadServer, ReportStatusInfo::kServerCap},
};

} // namespace

int CMsgHandle::BuildRequestConnection(char* body, const ReqConnParams* p, int* length)
{
    if (!body || !p || !length)
        return -1;
    BodyWriter w(body);
    w.Line("<%s>\r\n", "Msg");
    w.Line("\t<%s>%s</%s>\r\n", "Type", "RequestConnection", "Type");
    w.Line("\t<%s>%s</%s>\r\n", "Protocal", Utf8(p->Protocal).constData(), "Protocal");
    w.Line("\t<%s>\r\n", "Params");
    w.Line("\t\t<%s>%s</%s>\r\n", "IP", Utf8(p->IP).constData(), "IP");
    w.Line("\t\t<%s>%d</%s>\r\n", "Port", p->Port, "Port");
    w.Line("\t\t<%s>%d</%s>\r\n", "Force", p->Force, "Force");
    w.Line("\t\t<%s>%d</%s>\r\n", "HeartBeatPeriod", p->HeartBeatPeriod, "HeartBeatPeriod");
    w.Line("\t</%s>\r\n", "Params");
    w.Line("</%s>\r\n", "Msg");
    return w.Finish(length);
}

int CMsgHandle::BuildRequestStatus(char* body, const QString* protocal, int* length)
{
    if (!body || !protocal || !length)
        return -1;
    BodyWriter w(body);
    w.Line("<%s>\r\n", "Msg");
    w.Line("\t<%s>%s</%s>\r\n", "Type", "RequestStatus", "Type");
    w.Line("\t<%s>%s</%s>\r\n", "Protocal", Utf8(*protocal).constData(), "Protocal");
    w.Line("</%s>\r\n", "Msg");
    return w.Finish(length);
}

int CMsgHandle::ParseReportStatusMsg(uint8_t* payload, int length, ReportStatusInfo* info)
{
    if (!info || !payload || length < 0)
        return -1;
    std::vector<uint8_t> plain(size_t(length) + 1);
    if (DecryptReportBody(payload, length, plain.data()) != 0)
        return -1;
    // The plaintext ends at its first zero byte, which cuts off zero padding.
    const int textLength = int(strnlen(reinterpret_cast<const char*>(plain.data()), size_t(length)));
    std::memcpy(payload, plain.data(), size_t(std::min(textLength + 1, length)));
    *info = ReportStatusInfo();

    tinyxml2::XMLDocument doc;
    if (doc.Parse(reinterpret_cast<const char*>(plain.data()), size_t(textLength)) !=
        tinyxml2::XML_SUCCESS) {
        LogError(QStringLiteral("%s:XML LoadBuffer failed."), kParseFunc);
        return -1;
    }
    const tinyxml2::XMLElement* root = doc.FirstChildElement();
    if (!root) {
        LogError(QStringLiteral("%s: ROOT Node is NULL"), kParseFunc);
        return -1;
    }
    if (std::strcmp(root->Name(), "Msg") != 0) {
        LogError(QStringLiteral("%s: mismatched %s"), kParseFunc, "Msg");
        return -1;
    }
    for (const tinyxml2::XMLElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (std::strcmp(e->Name(), "Protocal") == 0) {
            const tinyxml2::XMLNode* first = e->FirstChild();
            SetField(info->Protocal, ReportStatusInfo::kProtocalCap,
                     first && first->ToText() ? first->Value() : nullptr);
        } else if (std::strcmp(e->Name(), "Params") == 0) {
            for (const tinyxml2::XMLElement* p = e->FirstChildElement(); p;
                 p = p->NextSiblingElement()) {
                for (const ParamField& f : kParams)
                    if (std::strcmp(p->Name(), f.name) == 0)
                        SetField(info->*f.field, f.capacity, p->GetText());
            }
        }
    }
    return 0;
}
