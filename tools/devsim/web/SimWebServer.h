#pragma once
#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

// The web interface of one simulated device: GET /api/rfkey/export serves the
// device's card list, POST /api/rfkey/import (multipart, part "file") replaces
// it. Optional Basic or Digest (MD5, qop=auth) authentication, and faults on
// demand so the program's failure paths can be driven.
class SimWebServer {
public:
    enum class Auth { None, Basic, Digest };
    enum class Fault {
        None,
        Status400,
        Status401,
        Status403,
        Status404,
        Status500,
        NoAnswer, // accept the connection, never answer
        Slow,     // answer after SlowDelayMs
        Empty200,
        Malformed, // 200 with a body that is not well-formed XML
        HugeBody,  // 200 with HugeBodyBytes of body
    };
    struct Request {
        std::string method;
        std::string path;
        std::string authorization; // the header as received, empty when none
        std::vector<std::string> parts; // multipart part names
        std::string reqformat;          // content of the "reqformat" part
        int status = 0;                 // what was answered (0: none)
    };

    SimWebServer();
    ~SimWebServer();
    SimWebServer(const SimWebServer&) = delete;
    SimWebServer& operator=(const SimWebServer&) = delete;

    // Serves address:port until Stop. False when the port cannot be bound.
    bool Start(const std::string& address, int port = 80);
    void Stop();

    void SetAuth(Auth auth, const std::string& user, const std::string& password);
    void SetFault(Fault fault);
    void SetSlowDelayMs(int ms);
    void SetHugeBodyBytes(size_t bytes);

    void SetCardList(const std::string& xml);
    // Every list the device receives is also written to this file.
    void SetStoreFile(const std::string& path);
    bool SeedFromFile(const std::string& path);
    // The list the device holds: the seed, or the last one it received.
    std::string CardList() const;
    bool SaveCardList(const std::string& path) const;
    int UploadCount() const;
    std::vector<Request> Requests() const;

    // "none", "basic", "digest" / "400", "noanswer", "slow", "empty", ...
    static bool ParseAuth(const std::string& text, Auth* auth);
    static bool ParseFault(const std::string& text, Fault* fault);

private:
    void Handle(const httplib::Request& req, httplib::Response& res, bool upload);
    bool Authorized(const httplib::Request& req, httplib::Response& res);
    bool CheckDigest(const httplib::Request& req, const std::string& header);
    void Challenge(httplib::Response& res);
    // Waits up to `ms`, or until Stop. False when stopped.
    bool Hold(int ms);
    void Record(Request request);

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stopping = false;
    Auth m_auth = Auth::None;
    std::string m_user;
    std::string m_password;
    Fault m_fault = Fault::None;
    int m_slowDelayMs = 6000;
    size_t m_hugeBodyBytes = 80u << 20;
    std::string m_cardList;
    std::string m_storeFile;
    int m_uploads = 0;
    std::vector<Request> m_requests;
    std::map<std::string, unsigned long> m_nonces; // issued nonce -> last nonce count
};
