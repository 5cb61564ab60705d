#include "tools/devsim/web/SimWebServer.h"

#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

namespace {

const char* const kRealm = "kestrovane-device";
constexpr size_t kMaxNonces = 256;
constexpr size_t kMaxRequests = 10000;

std::string Hex(const unsigned char* data, size_t size)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::string Md5Hex(const std::string& text)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(text.data(), text.size(), digest, &size, EVP_md5(), nullptr);
    return Hex(digest, size);
}

std::string NewNonce()
{
    unsigned char bytes[16];
    RAND_bytes(bytes, sizeof bytes);
    return Hex(bytes, sizeof bytes);
}

// The name="value" or name=value pairs of a Digest header, after "Digest ".
std::map<std::string, std::string> DigestParams(const std::string& header)
{
    std::map<std::string, std::string> params;
    size_t i = header.find(' ');
    while (i != std::string::npos && i < header.size()) {
        while (i < header.size() && (header[i] == ' ' || header[i] == ','))
            ++i;
        const size_t eq = header.find('=', i);
        if (eq == std::string::npos)
            break;
        std::string name = header.substr(i, eq - i);
        std::string value;
        i = eq + 1;
        if (i < header.size() && header[i] == '"') {
            const size_t end = header.find('"', i + 1);
            if (end == std::string::npos)
                break;
            value = header.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            const size_t end = header.find(',', i);
            value = header.substr(i, end == std::string::npos ? std::string::npos : end - i);
            i = end;
        }
        params[name] = value;
    }
    return params;
}

std::string Base64(const std::string& text)
{
    std::string out(4 * ((text.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(text.data()),
                                  int(text.size()));
    out.resize(size_t(std::max(n, 0)));
    return out;
}

int FaultStatus(SimWebServer::Fault fault)
{
    switch (fault) {
    case SimWebServer::Fault::Status400:
        return 400;
    case SimWebServer::Fault::Status401:
        return 401;
    case SimWebServer::Fault::Status403:
        return 403;
    case SimWebServer::Fault::Status404:
        return 404;
    case SimWebServer::Fault::Status500:
        return 500;
    default:
        return 0;
    }
}

} // namespace

SimWebServer::SimWebServer() = default;

SimWebServer::~SimWebServer() { Stop(); }

bool SimWebServer::Start(const std::string& address, int port)
{
    Stop();
    {
        std::lock_guard guard(m_lock);
        m_stopping = false;
    }
    m_server = std::make_unique<httplib::Server>();
    m_server->set_payload_max_length(256u << 20);
    m_server->set_keep_alive_timeout(1);
    m_server->Get("/api/rfkey/export", [this](const httplib::Request& req, httplib::Response& res) {
        Handle(req, res, false);
    });
    m_server->Post("/api/rfkey/import", [this](const httplib::Request& req,
                                               httplib::Response& res) { Handle(req, res, true); });
    if (!m_server->bind_to_port(address, port)) {
        m_server.reset();
        return false;
    }
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    // The server only takes a stop once its loop runs; a stop that came
    // earlier would leave the loop waiting in accept for good.
    for (int i = 0; i < 5000 && !m_server->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void SimWebServer::Stop()
{
    if (!m_server)
        return;
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
    m_server.reset();
}

void SimWebServer::SetAuth(Auth auth, const std::string& user, const std::string& password)
{
    std::lock_guard guard(m_lock);
    m_auth = auth;
    m_user = user;
    m_password = password;
}

void SimWebServer::SetFault(Fault fault)
{
    std::lock_guard guard(m_lock);
    m_fault = fault;
}

void SimWebServer::SetSlowDelayMs(int ms)
{
    std::lock_guard guard(m_lock);
    m_slowDelayMs = ms;
}

void SimWebServer::SetHugeBodyBytes(size_t bytes)
{
    std::lock_guard guard(m_lock);
    m_hugeBodyBytes = bytes;
}

void SimWebServer::SetCardList(const std::string& xml)
{
    std::lock_guard guard(m_lock);
    m_cardList = xml;
}

bool SimWebServer::SeedFromFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    SetCardList(text.str());
    return true;
}

void SimWebServer::SetStoreFile(const std::string& path)
{
    std::lock_guard guard(m_lock);
    m_storeFile = path;
}

std::string SimWebServer::CardList() const
{
    std::lock_guard guard(m_lock);
    return m_cardList;
}

bool SimWebServer::SaveCardList(const std::string& path) const
{
    const std::string list = CardList();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(list.data(), std::streamsize(list.size()));
    return bool(out.flush());
}

int SimWebServer::UploadCount() const
{
    std::lock_guard guard(m_lock);
    return m_uploads;
}

std::vector<SimWebServer::Request> SimWebServer::Requests() const
{
    std::lock_guard guard(m_lock);
    return m_requests;
}

bool SimWebServer::ParseAuth(const std::string& text, Auth* auth)
{
    static const std::map<std::string, Auth> names = {
        {"none", Auth::None}, {"basic", Auth::Basic}, {"digest", Auth::Digest}};
    const auto it = names.find(text);
    if (it == names.end())
        return false;
    *auth = it->second;
    return true;
}

bool SimWebServer::ParseFault(const std::string& text, Fault* fault)
{
    static const std::map<std::string, Fault> names = {
        {"none", Fault::None},         {"400", Fault::Status400},    {"401", Fault::Status401},
        {"403", Fault::Status403},     {"404", Fault::Status404},    {"500", Fault::Status500},
        {"noanswer", Fault::NoAnswer}, {"slow", Fault::Slow},        {"empty", Fault::Empty200},
        {"malformed", Fault::Malformed}, {"huge", Fault::HugeBody}};
    const auto it = names.find(text);
    if (it == names.end())
        return false;
    *fault = it->second;
    return true;
}

bool SimWebServer::Hold(int ms)
{
    std::unique_lock guard(m_lock);
    return !m_wake.wait_for(guard, std::chrono::milliseconds(ms), [this] { return m_stopping; });
}

void SimWebServer::Record(Request request)
{
    std::lock_guard guard(m_lock);
    if (m_requests.size() < kMaxRequests)
        m_requests.push_back(std::move(request));
}

void SimWebServer::Challenge(httplib::Response& res)
{
    std::lock_guard guard(m_lock);
    res.status = 401;
    if (m_auth == Auth::Basic) {
        res.set_header("WWW-Authenticate", std::string("Basic realm=\"") + kRealm + "\"");
        return;
    }
    // A fresh nonce for every challenge; the oldest are forgotten.
    if (m_nonces.size() >= kMaxNonces)
        m_nonces.clear();
    const std::string nonce = NewNonce();
    m_nonces[nonce] = 0;
    res.set_header("WWW-Authenticate", std::string("Digest realm=\"") + kRealm +
                                           "\", qop=\"auth\", algorithm=MD5, nonce=\"" + nonce +
                                           "\", opaque=\"" + Md5Hex(kRealm) + "\"");
}

bool SimWebServer::CheckDigest(const httplib::Request& req, const std::string& header)
{
    if (header.rfind("Digest ", 0) != 0)
        return false;
    auto p = DigestParams(header);
    std::lock_guard guard(m_lock);
    const auto nonce = m_nonces.find(p["nonce"]);
    if (nonce == m_nonces.end() || p["username"] != m_user || p["realm"] != kRealm ||
        p["uri"] != req.target || p["qop"] != "auth" || p["cnonce"].empty())
        return false;
    if (p.count("algorithm") && p["algorithm"] != "MD5")
        return false;
    // The nonce count must grow, so a captured answer cannot be replayed.
    const unsigned long count = std::strtoul(p["nc"].c_str(), nullptr, 16);
    if (count <= nonce->second)
        return false;
    const std::string ha1 = Md5Hex(m_user + ":" + kRealm + ":" + m_password);
    const std::string ha2 = Md5Hex(req.method + ":" + p["uri"]);
    const std::string expected =
        Md5Hex(ha1 + ":" + p["nonce"] + ":" + p["nc"] + ":" + p["cnonce"] + ":auth:" + ha2);
    if (expected != p["response"])
        return false;
    nonce->second = count;
    return true;
}

bool SimWebServer::Authorized(const httplib::Request& req, httplib::Response& res)
{
    Auth auth;
    std::string user, password;
    {
        std::lock_guard guard(m_lock);
        auth = m_auth;
        user = m_user;
        password = m_password;
    }
    if (auth == Auth::None)
        return true;
    const std::string header = req.get_header_value("Authorization");
    const bool ok = auth == Auth::Basic ? header == "Basic " + Base64(user + ":" + password)
                                        : CheckDigest(req, header);
    if (!ok)
        Challenge(res);
    return ok;
}

void SimWebServer::Handle(const httplib::Request& req, httplib::Response& res, bool upload)
{
    Request seen;
    seen.method = req.method;
    seen.path = req.path;
    seen.authorization = req.get_header_value("Authorization");
    for (const auto& [name, part] : req.files) {
        seen.parts.push_back(name);
        if (name == "reqformat")
            seen.reqformat = part.content;
    }

    Fault fault;
    int slowMs;
    size_t hugeBytes;
    {
        std::lock_guard guard(m_lock);
        fault = m_fault;
        slowMs = m_slowDelayMs;
        hugeBytes = m_hugeBodyBytes;
    }
    // Held past any client's patience; Stop lets it go.
    if (fault == Fault::NoAnswer) {
        Record(seen);
        Hold(60000);
        res.status = 503;
        return;
    }
    if (fault == Fault::Slow && !Hold(slowMs)) {
        Record(seen);
        return;
    }

    if (!Authorized(req, res)) {
        seen.status = res.status;
        Record(seen);
        return;
    }
    if (const int status = FaultStatus(fault)) {
        res.status = status;
        res.set_content("error", "text/plain");
    } else if (fault == Fault::Empty200) {
        res.status = 200;
    } else if (fault == Fault::Malformed) {
        res.status = 200;
        res.set_content("<?xml version=\"1.0\"?>\n<KeyData>\n    <Key ID=\"1\" Name=\"x",
                        "application/xml");
    } else if (fault == Fault::HugeBody) {
        res.status = 200;
        res.set_content_provider(hugeBytes, "application/xml",
                                 [](size_t offset, size_t length, httplib::DataSink& sink) {
                                     static const std::string chunk(64 * 1024, ' ');
                                     (void)offset;
                                     return sink.write(chunk.data(),
                                                       std::min(length, chunk.size()));
                                 });
    } else if (upload) {
        if (!req.has_file("file")) {
            res.status = 400;
        } else {
            std::string storeFile;
            {
                std::lock_guard guard(m_lock);
                m_cardList = req.get_file_value("file").content;
                ++m_uploads;
                storeFile = m_storeFile;
            }
            res.status = storeFile.empty() || SaveCardList(storeFile) ? 200 : 500;
        }
        res.set_content(res.status == 200 ? "ok" : "no file", "text/plain");
    } else {
        res.status = 200;
        res.set_content(CardList(), "application/xml");
    }
    seen.status = res.status;
    Record(seen);
}
