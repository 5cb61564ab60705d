#pragma once
#include "SimDeviceConfig.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// Plays a set of devices on the device link from one thread: it hears the
// invitations on 238.8.8.1:8500, connects each device from its own address to
// the announced server (closing its previous connection first), and answers
// every RequestStatus with an encrypted ReportStatus, misbehaving as told.
class CDeviceSimulator {
public:
    explicit CDeviceSimulator(std::vector<SimDeviceConfig> devices);
    ~CDeviceSimulator();
    CDeviceSimulator(const CDeviceSimulator&) = delete;
    CDeviceSimulator& operator=(const CDeviceSimulator&) = delete;

    // Starts the device thread; with `listen`, joins the invitation group first.
    // Empty on success, else why not.
    QString Start(bool listen = true);
    void Stop();
    // Acts as if an invitation naming this server had arrived.
    void Invite(const QString& ip, int port);

    const std::vector<SimDeviceConfig>& Devices() const { return m_devices; }
    uint64_t Invitations() const { return m_invitations; }
    uint64_t Connections() const { return m_connections; }
    uint64_t ConnectFailures() const { return m_connectFailures; }
    uint64_t Requests() const { return m_requests; }
    uint64_t Reports() const { return m_reports; }
    // Waits until at least `count` reports have been written in all.
    bool WaitReports(uint64_t count, int timeoutMs);

private:
    struct Link {
        int fd = -1;
        bool connecting = false;
        unsigned generation = 0; // changes with every new connection
        std::vector<uint8_t> in;
        QByteArray out;
        QByteArray report;
    };
    struct Piece {
        size_t device;
        unsigned generation;
        QByteArray bytes;
    };
    using Clock = std::chrono::steady_clock;

    void Loop();
    // One invitation: every device connects afresh to the server it names.
    void ConnectAll(const QString& ip, int port);
    void Connect(size_t i, const QString& ip, int port);
    void Drop(size_t i);
    void Connected(size_t i);
    void ReadLink(size_t i);
    void ReadInvitations();
    void Answer(size_t i);
    void Write(size_t i, const QByteArray& bytes);
    void Flush(size_t i);
    void Watch(size_t i, uint32_t events);
    void CountReport();

    std::vector<SimDeviceConfig> m_devices;
    std::vector<Link> m_links;
    std::multimap<Clock::time_point, Piece> m_pieces; // delayed parts of split reports
    int m_epoll = -1;
    int m_wake = -1;
    int m_group = -1;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_lock; // guards m_invites and the report count's waiters
    std::condition_variable m_reported;
    std::vector<std::pair<QString, int>> m_invites;
    std::atomic<uint64_t> m_invitations{0};
    std::atomic<uint64_t> m_connections{0};
    std::atomic<uint64_t> m_connectFailures{0};
    std::atomic<uint64_t> m_requests{0};
    std::atomic<uint64_t> m_reports{0};
};
