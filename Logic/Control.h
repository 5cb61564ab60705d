#pragma once
#include "Logic/SocketMsg.h"
#include "store/DeviceRecord.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class CStreamSocket;

// Message ids; the high 16 bits are the class the dispatcher routes by.
constexpr int CTRL_MSG_TICK = 0x10000;
constexpr int CTRL_MSG_TCP_PACKET = 0x30000;
constexpr int CTRL_MSG_DEVICE_CONNECTED = 0x40001;

// One node of the control queue.
struct CtrlMsg {
    int32_t id = 0;
    int32_t flag = 0;
    int32_t reserved = 0;
    uint8_t* payload = nullptr; // owned copy of the posted bytes, or null
    CtrlMsg* next = nullptr;
};

// The control core: the message queue with its ticker and dispatcher threads,
// the device logic they run, the scan list, and the announcement.
class CControl {
public:
    static CControl* GetInstance();

    // The program uses the one instance of GetInstance. Tests and benchmarks may
    // run a core of their own, sending status requests through `server`
    // (null: the TCP server of CDeviceControl); its threads end with it.
    explicit CControl(CStreamSocket* server = nullptr);
    ~CControl();
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // Opens the log channel, the database, the TCP server and the multicast
    // socket and starts the threads. Ends the process when a fixed local
    // resource cannot be had.
    void Init();
    // Starts the ticker and dispatcher threads (Init's last steps).
    void StartThreads();
    // The model code a firmware version yields ("E11", "R20", "X91"), or empty.
    static QString ModelCode(const QString& firmware);

    // Any thread. 0, or -1 when no node could be allocated.
    int PostCtrlMsg(const void* data, int length, int id);

    // Marks every stored device off-line and multicasts one invitation.
    int ProcessMulticastAddress();

    // Dispatcher thread.
    int OnCtrlMsg(const CtrlMsg* msg);
    int OnSocketMsg(const SocketMsg* msg);
    int RequestDeviceStatus(const DeviceConnectedInfo* info);

    // The scan list: unknown devices that reported, newest first, one per MAC.
    int AddScanDevice(const DeviceRecord* record);
    // A copy the caller owns and frees with CDeviceControl::FreeDeviceList.
    DeviceRecord* GetScanDevices();
    int ClearScanDevices();

    // Waits until the queue is empty and the dispatcher is between messages.
    bool WaitIdle(int timeoutMs);
    // Messages dispatched so far (ticks included).
    uint64_t DispatchedCount();

private:
    void DispatcherLoop();
    void TickerLoop();
    void Dispatch(const CtrlMsg* msg);
    void AppendLocked(CtrlMsg* node);
    CStreamSocket& Server();

    CStreamSocket* m_server;
    DeviceRecord* m_scanList = nullptr;
    CtrlMsg* m_head = nullptr;
    CtrlMsg* m_tail = nullptr;
    std::mutex m_lock; // guards the queue, the event and the scan list
    bool m_event = true;
    std::condition_variable m_eventCv;
    std::condition_variable m_idleCv;
    std::condition_variable m_tickCv;
    bool m_busy = false;
    bool m_stopping = false;
    bool m_initialised = false;
    uint64_t m_dispatched = 0;
    std::thread m_dispatcher;
    std::thread m_ticker;
};
