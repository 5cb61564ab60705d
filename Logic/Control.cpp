#include "Logic/Control.h"

#include "Logic/DeviceControl.h"
#include "Logic/MsgHandle.h"
#include "Logic/MsgPacket.h"
#include "base/CommControl.h"
#include "base/Log.h"
#include "base/MessageBox.h"
#include "base/ProgramDir.h"
#include "store/CppSQLite3DB.h"
#include "store/CppSQLite3Exception.h"
#include "store/CppSQLite3Query.h"

#include <arpa/inet.h>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <netdb.h>
#include <unistd.h>

namespace {

const QString kProtocol = QStringLiteral("2.0");
constexpr int kHeartBeatPeriodMs = 10000;

// The first IPv4 address the host's name resolves to, or empty.
QString HostIPv4()
{
    char name[128] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return QString();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || !found)
        return QString();
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text,
              sizeof text);
    freeaddrinfo(found);
    return QString::fromLatin1(text).left(15);
}

int LeadingNumber(const QString& text)
{
    const long value = std::strtol(text.toUtf8().constData(), nullptr, 10);
    return int(std::clamp<long>(value, INT_MIN, INT_MAX));
}

DeviceRecord* CopyRecord(const DeviceRecord& r)
{
    DeviceRecord* copy = new DeviceRecord(r);
    copy->next = nullptr;
    return copy;
}

} // namespace

CControl* CControl::GetInstance()
{
    static CControl* instance = new CControl; // lives until the process ends
    return instance;
}

CControl::CControl(CStreamSocket* server) : m_server(server) {}

CControl::~CControl()
{
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_eventCv.notify_all();
    m_tickCv.notify_all();
    if (m_dispatcher.joinable())
        m_dispatcher.join();
    if (m_ticker.joinable())
        m_ticker.join();
    while (m_head) {
        CtrlMsg* next = m_head->next;
        delete[] m_head->payload;
        delete m_head;
        m_head = next;
    }
    CDeviceControl::FreeDeviceList(m_scanList);
}

CStreamSocket& CControl::Server()
{
    return m_server ? *m_server : CDeviceControl::GetInstance()->StreamSocket();
}

void CControl::Init()
{
    // A second call would find its own ports taken and end the process.
    if (m_initialised)
        return;
    m_initialised = true;
    CCommUdp& channel = CCommControl::GetInstance()->Channel();
    if (channel.LocalPort() < 0)
        channel.Open(); // ends the process when no log port can be had
    RaiseDescriptorLimit();

    try {
        CppSQLite3DB::GetInstance().Open(MakeProgramPath(QStringLiteral("DB\\Kestrovane.db")));
    } catch (const CppSQLite3Exception& e) {
        ShowMessageBox(e.GetText(), kMsgCaption, kMsgStyleOk);
        std::_Exit(0);
    }

    CDeviceControl* device = CDeviceControl::GetInstance();
    try {
        CppSQLite3DB::GetInstance().Execute(
            WFormatV(QStringLiteral("update %s set State=%d"), "Devices", 0));
    } catch (const CppSQLite3Exception& e) {
        LogError(QStringLiteral("%s: %s"), "CControl::Init", e.GetText());
    }

    if (device->StreamSocket().Listen() != 0)
        std::_Exit(0);
    std::thread([device] { device->StreamSocket().Run(); }).detach();

    if (device->MulticastSocket().Open() == 0)
        std::_Exit(0);

    StartThreads();
}

void CControl::StartThreads()
{
    std::lock_guard guard(m_lock);
    if (m_dispatcher.joinable())
        return;
    m_ticker = std::thread([this] { TickerLoop(); });
    m_dispatcher = std::thread([this] { DispatcherLoop(); });
}

void CControl::AppendLocked(CtrlMsg* node)
{
    if (m_tail)
        m_tail->next = node;
    else
        m_head = node;
    m_tail = node;
    m_event = true;
    m_eventCv.notify_one();
}

int CControl::PostCtrlMsg(const void* data, int length, int id)
{
    CtrlMsg* node = new (std::nothrow) CtrlMsg;
    if (!node)
        return -1;
    node->id = id;
    if (data && length > 0) {
        node->payload = new (std::nothrow) uint8_t[size_t(length)];
        if (!node->payload) {
            delete node;
            return -1;
        }
        std::memcpy(node->payload, data, size_t(length));
    }
    std::lock_guard guard(m_lock);
    AppendLocked(node);
    return 0;
}

void CControl::TickerLoop()
{
    std::unique_lock lock(m_lock);
    while (!m_stopping) {
        if (CtrlMsg* tick = new (std::nothrow) CtrlMsg) {
            tick->id = CTRL_MSG_TICK;
            AppendLocked(tick);
        }
        m_tickCv.wait_for(lock, std::chrono::milliseconds(1000), [this] { return m_stopping; });
    }
}

void CControl::DispatcherLoop()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_eventCv.wait(lock, [this] { return m_event || m_stopping; });
        if (m_stopping)
            return;
        while (m_head && !m_stopping) {
            CtrlMsg* node = m_head;
            m_head = node->next;
            if (!m_head)
                m_tail = nullptr;
            m_busy = true;
            lock.unlock();
            Dispatch(node);
            delete[] node->payload;
            delete node;
            lock.lock();
            m_busy = false;
            ++m_dispatched;
        }
        m_event = false;
        m_idleCv.notify_all();
    }
}

void CControl::Dispatch(const CtrlMsg* msg)
{
    switch (msg->id & 0xFFFF0000) {
    case CTRL_MSG_TCP_PACKET:
        OnSocketMsg(reinterpret_cast<const SocketMsg*>(msg->payload));
        break;
    case 0x40000:
        OnCtrlMsg(msg);
        break;
    default: // a tick only wakes the dispatcher
        break;
    }
}

bool CControl::WaitIdle(int timeoutMs)
{
    std::unique_lock lock(m_lock);
    return m_idleCv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return !m_head && !m_busy; });
}

uint64_t CControl::DispatchedCount()
{
    std::lock_guard guard(m_lock);
    return m_dispatched;
}

int CControl::OnCtrlMsg(const CtrlMsg* msg)
{
    if (!msg)
        return -1;
    if (msg->id == CTRL_MSG_DEVICE_CONNECTED)
        return RequestDeviceStatus(reinterpret_cast<const DeviceConnectedInfo*>(msg->payload));
    return 0;
}

int CControl::RequestDeviceStatus(const DeviceConnectedInfo* info)
{
    if (!info)
        return -1;
    SocketMsg msg;
    if (BuildReqStatusMsg(&kProtocol, &msg) != 0)
        return -1;
    const QString ip = IpText(info->PeerIP);
    return Server().SendTcpMsg(msg.Data, &ip, info->PeerPort, msg.Length);
}

QString CControl::ModelCode(const QString& f)
{
    if (f.size() < 3)
        return QString();
    const QChar a = f[0];
    const QChar b = f[1];
    // X9 firmware carries a three-digit major version (915.30.1.1 is an X91), so
    // only its second character must be a digit; the others need "NN.".
    if (a == u'9')
        return b.isDigit() ? QStringLiteral("X9") + b : QString();
    if (f[2] != u'.')
        return QString();
    if (a == u'1' && b == u'1')
        return QStringLiteral("E11");
    if (a == u'2' && QStringLiteral("06789").contains(b))
        return QStringLiteral("R2") + b;
    return QString();
}

int CControl::OnSocketMsg(const SocketMsg* msg)
{
    if (!msg || msg->Length < kPacketHeaderLength || msg->Length > kMaxPacketLength)
        return -1;
    if ((PacketMessageId(msg->Data) & 0x7FF) != MSG_ID_REPORT_STATUS)
        return 0;
    // The framer only passes whole packets, but the payload never reaches past Length.
    const int payloadLength =
        std::min(PacketPayloadLength(msg->Data), int(msg->Length) - kPacketHeaderLength);
    std::vector<uint8_t> payload(msg->Data + kPacketHeaderLength,
                                 msg->Data + kPacketHeaderLength + payloadLength);
    ReportStatusInfo info;
    if (CMsgHandle::ParseReportStatusMsg(payload.data(), payloadLength, &info) != 0) {
        LogError(QStringLiteral("%s: ParseReportStatusMsg failed."), "CControl::OnSocketMsg");
        return -1;
    }

    const QString mac = QString(info.MAC).remove(u':');
    DeviceRecord record;
    record.Type = LeadingNumber(info.Type);
    CopyFitting(record.IP, DeviceRecord::kIPCap, info.IP);
    CopyFitting(record.Firmware, DeviceRecord::kFirmwareCap, info.SWVer);
    CopyFitting(record.MAC, DeviceRecord::kMACCap, mac);
    record.Model = ModelCode(record.Firmware);
    if (record.Model.isEmpty())
        return 0;

    CDeviceControl* device = CDeviceControl::GetInstance();
    if (device->IsDeviceExist(record.MAC) == 1) {
        if (device->UpdateDeviceByMac(record) == 0)
            device->SetDeviceState(record.MAC, 1);
    } else {
        AddScanDevice(&record);
    }
    return 0;
}

int CControl::AddScanDevice(const DeviceRecord* record)
{
    if (!record)
        return -1;
    DeviceRecord* copy = CopyRecord(*record);
    std::lock_guard guard(m_lock);
    for (DeviceRecord** link = &m_scanList; *link;) {
        if ((*link)->MAC == copy->MAC) {
            DeviceRecord* gone = *link;
            *link = gone->next;
            delete gone;
        } else {
            link = &(*link)->next;
        }
    }
    copy->next = m_scanList;
    m_scanList = copy;
    return 0;
}

DeviceRecord* CControl::GetScanDevices()
{
    std::lock_guard guard(m_lock);
    DeviceRecord* head = nullptr;
    DeviceRecord** tail = &head;
    for (const DeviceRecord* r = m_scanList; r; r = r->next) {
        *tail = CopyRecord(*r);
        tail = &(*tail)->next;
    }
    return head;
}

int CControl::ClearScanDevices()
{
    DeviceRecord* list;
    {
        std::lock_guard guard(m_lock);
        list = m_scanList;
        m_scanList = nullptr;
    }
    CDeviceControl::FreeDeviceList(list);
    return 0;
}

int CControl::ProcessMulticastAddress()
{
    CDeviceControl* device = CDeviceControl::GetInstance();
    device->ResetDeviceStates();
    const QString ip = HostIPv4();
    if (ip.isEmpty())
        return -1;
    ReqConnParams params;
    params.Protocal = kProtocol;
    params.IP = ip;
    params.Port = CStreamSocket::kPort;
    params.Force = 1;
    params.HeartBeatPeriod = kHeartBeatPeriodMs;
    SocketMsg msg;
    if (BuildReqConnMsg(&params, &msg) != 0) {
        LogError(QStringLiteral("Build ReqConnMsg failed"));
        return -1;
    }
    device->MulticastSocket().SendUdpMsg(&msg);
    LogError(QStringLiteral("SendUDP Sucessful!!!"));
    return 0;
}
