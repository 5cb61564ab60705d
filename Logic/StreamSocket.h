#pragma once
#include "Logic/SocketMsg.h"

#include <QString>
#include <atomic>
#include <functional>
#include <list>
#include <mutex>
#include <vector>

// Thousands of devices each hold a connection, so the soft descriptor limit is
// raised as far as the hard one allows.
void RaiseDescriptorLimit();

// The TCP server the devices connect to: accepts, cuts each connection's byte
// stream into packets and hands them on, and sends a packet to one device.
class CStreamSocket {
public:
    static constexpr int kPort = 8501;
    static constexpr int kBacklog = 10000;
    static constexpr int kMaxReadSet = 10000;
    // A send to a device that does not read gives up after this long.
    static constexpr int kSendWaitMs = 200;
    // Pause after a failing accept (descriptor limit, aborted connection).
    static constexpr int kAcceptPauseMs = 100;

    using ConnectedHandler = std::function<void(const QString& ip, int port)>;
    using PacketHandler = std::function<void(const SocketMsg& msg)>;

    // `port` 0 takes any free port (tests).
    explicit CStreamSocket(int port = kPort);
    ~CStreamSocket();
    CStreamSocket(const CStreamSocket&) = delete;
    CStreamSocket& operator=(const CStreamSocket&) = delete;

    // Called on the server thread for each accepted connection and each packet.
    void SetHandlers(ConnectedHandler connected, PacketHandler packet);

    int Listen();
    // The server loop; returns 0 once Stop has been called.
    int Run();
    void Stop();

    int AddClient(const QString* ip, int port, int socket);
    // 0 when the whole packet went out; -1 after "SendTcpMsg failed.". Port 0
    // matches any port; the newest connection matching is used.
    int SendTcpMsg(const uint8_t* bytes, const QString* ip, int port, int length);

    int LocalPort() const;
    int ClientCount();

private:
    struct ClientEntry {
        QString PeerIP;
        int PeerPort = 0;
        int Socket = -1;
        std::vector<uint8_t> carry; // unconsumed tail of this connection's stream
    };

    void AcceptReady();
    // false when the connection has ended.
    bool ServeClient(ClientEntry& entry, SocketMsg& msg);
    void EndClient(std::list<ClientEntry>::iterator it);

    int m_port;
    int m_listen = -1;
    int m_wake = -1; // eventfd that ends a wait early (Stop)
    std::atomic<int> m_running{1};
    std::list<ClientEntry> m_clients; // newest first
    std::mutex m_clientLock;
    ConnectedHandler m_onConnected;
    PacketHandler m_onPacket;
};
