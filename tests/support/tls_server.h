#pragma once
// An HTTPS server on 127.0.0.1 for the update tests, with a certificate authority of its own:
// each path answers as the test says (a whole file, a cut one, a slow one, one without a
// length, an error, a redirect, or headers and then silence). The same answers are also served
// over plain http on a second port, for tests that the program never takes a file from there.

#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace kestrova::test {

// Makes a certificate authority (key and certificate) in `dir` with the openssl tool; returns
// the certificate's path, or "" when the tool failed.
std::string MakeCertificateAuthority(const std::filesystem::path& dir, const std::string& name);

struct HttpsReply {
    enum class Kind { kWhole, kCut, kStatus, kRedirect, kSilentAfterHeaders, kPaced, kUnannounced };
    Kind kind = Kind::kWhole;
    std::string body;              // kWhole, kCut (what is sent before the connection closes)
    int status = 200;              // kStatus, kRedirect
    std::string where;             // kRedirect: the Location
    long long bytesPerSecond = 0;  // kPaced
    long long size = 0;            // kUnannounced: the bytes sent in all

    static HttpsReply Whole(std::string body) { return {Kind::kWhole, std::move(body)}; }
    // Announces more bytes than `body`, sends `body` and closes.
    static HttpsReply Cut(std::string body) { return {Kind::kCut, std::move(body)}; }
    static HttpsReply Status(int status) { return {Kind::kStatus, "error", status}; }
    static HttpsReply Redirect(std::string where) {
        return {Kind::kRedirect, "", 302, std::move(where)};
    }
    static HttpsReply SilentAfterHeaders() { return {Kind::kSilentAfterHeaders}; }
    // Announces `body`'s length and sends it at about `bytesPerSecond`.
    static HttpsReply Paced(std::string body, long long bytesPerSecond) {
        return {Kind::kPaced, std::move(body), 200, "", bytesPerSecond};
    }
    // Sends `body`, then zero bytes up to `size` in all, and closes: no length is announced, so
    // the client learns the size only from the end.
    static HttpsReply Unannounced(std::string body, long long size) {
        return {Kind::kUnannounced, std::move(body), 200, "", 0, size};
    }
};

class HttpsServer {
  public:
    // Serves with a certificate for 127.0.0.1 that its own authority in `dir` signed.
    explicit HttpsServer(const std::filesystem::path& dir);
    ~HttpsServer();
    HttpsServer(const HttpsServer&) = delete;
    HttpsServer& operator=(const HttpsServer&) = delete;

    bool Ready() const { return m_ready; }
    std::string BaseUrl() const { return "https://127.0.0.1:" + std::to_string(m_port); }
    std::string PlainUrl() const { return "http://127.0.0.1:" + std::to_string(m_plainPort); }
    // The authority that signed the server's certificate.
    const std::string& CaFile() const { return m_caFile; }

    // Paths without a reply get 404.
    void Serve(const std::string& path, HttpsReply reply);
    void Forget(const std::string& path);
    int Requests(const std::string& path) const;

  private:
    void Run();
    void Answer(int client, bool tls);

    std::string m_caFile;
    int m_listen = -1;
    int m_port = 0;
    int m_plainListen = -1;
    int m_plainPort = 0;
    bool m_ready = false;
    void* m_context = nullptr;  // SSL_CTX
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::map<std::string, HttpsReply> m_replies;
    std::map<std::string, int> m_requests;
    std::thread m_thread;
};

}  // namespace kestrova::test
