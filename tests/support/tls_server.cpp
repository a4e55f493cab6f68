#include "support/tls_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace kestrova::test {
namespace fs = std::filesystem;

namespace {

bool RunTool(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

const char* kKeyOptions = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";

// A certificate for 127.0.0.1 signed by the authority `ca` (its .pem and .key beside it).
bool MakeServerCertificate(const fs::path& dir, const std::string& ca) {
    const fs::path caKey = fs::path(ca).replace_extension(".key");
    std::ofstream(dir / "server.ext") << "subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n";
    return RunTool("openssl req " + std::string(kKeyOptions) + " -subj /CN=127.0.0.1 -keyout " +
                   (dir / "server.key").string() + " -out " + (dir / "server.csr").string()) &&
           RunTool("openssl x509 -req -days 2 -in " + (dir / "server.csr").string() + " -CA " + ca +
                   " -CAkey " + caKey.string() + " -CAcreateserial -extfile " +
                   (dir / "server.ext").string() + " -out " + (dir / "server.pem").string());
}

// One connection, over TLS or plain.
struct Connection {
    int socket;
    SSL* ssl;
    int Read(char* buf, int size) {
        return ssl ? SSL_read(ssl, buf, size) : static_cast<int>(read(socket, buf, size));
    }
    // False once the client has gone.
    bool Send(std::string_view data) {
        std::size_t done = 0;
        while (done < data.size()) {
            const int left = static_cast<int>(data.size() - done);
            const int n = ssl ? SSL_write(ssl, data.data() + done, left)
                              : static_cast<int>(write(socket, data.data() + done, left));
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }
};

int ListenOnLoopback(int& port) {
    int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(s, 8) != 0) {
        close(s);
        return -1;
    }
    socklen_t len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return s;
}

}  // namespace

std::string MakeCertificateAuthority(const fs::path& dir, const std::string& name) {
    fs::create_directories(dir);
    const fs::path cert = dir / (name + ".pem");
    const fs::path key = dir / (name + ".key");
    if (!RunTool("openssl req -x509 " + std::string(kKeyOptions) + " -days 2 -subj /CN=" + name +
                 " -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign "
                 "-keyout " +
                 key.string() + " -out " + cert.string()))
        return "";
    return cert.string();
}

HttpsServer::HttpsServer(const fs::path& dir) {
    // A client that hangs up mid-reply must end that reply, not the test.
    signal(SIGPIPE, SIG_IGN);
    m_caFile = MakeCertificateAuthority(dir, "test-authority");
    if (m_caFile.empty() || !MakeServerCertificate(dir, m_caFile)) return;

    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (!context ||
        SSL_CTX_use_certificate_file(context, (dir / "server.pem").c_str(), SSL_FILETYPE_PEM) !=
            1 ||
        SSL_CTX_use_PrivateKey_file(context, (dir / "server.key").c_str(), SSL_FILETYPE_PEM) != 1) {
        SSL_CTX_free(context);
        return;
    }
    m_context = context;

    m_listen = ListenOnLoopback(m_port);
    m_plainListen = ListenOnLoopback(m_plainPort);
    if (m_listen < 0 || m_plainListen < 0) return;
    m_ready = true;
    m_thread = std::thread([this] { Run(); });
}

HttpsServer::~HttpsServer() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_listen >= 0) close(m_listen);
    if (m_plainListen >= 0) close(m_plainListen);
    SSL_CTX_free(static_cast<SSL_CTX*>(m_context));
}

void HttpsServer::Serve(const std::string& path, HttpsReply reply) {
    std::lock_guard lock(m_mutex);
    m_replies[path] = std::move(reply);
}

void HttpsServer::Forget(const std::string& path) {
    std::lock_guard lock(m_mutex);
    m_replies.erase(path);
}

int HttpsServer::Requests(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    auto it = m_requests.find(path);
    return it == m_requests.end() ? 0 : it->second;
}

void HttpsServer::Run() {
    while (!m_stop) {
        pollfd p[2] = {{m_listen, POLLIN, 0}, {m_plainListen, POLLIN, 0}};
        if (poll(p, 2, 20) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (!(p[i].revents & POLLIN)) continue;
            int client = accept4(p[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            // A client that stops talking must not hold the server past the test.
            timeval limit{5, 0};
            setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
            Answer(client, i == 0);
            close(client);
        }
    }
}

void HttpsServer::Answer(int client, bool tls) {
    SSL* ssl = nullptr;
    if (tls) {
        ssl = SSL_new(static_cast<SSL_CTX*>(m_context));
        SSL_set_fd(ssl, client);
        if (SSL_accept(ssl) != 1) {  // an untrusting client gives up here
            SSL_free(ssl);
            return;
        }
    }
    Connection c{client, ssl};
    std::string request;
    char buf[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        int n = c.Read(buf, sizeof buf);
        if (n <= 0) break;
        request.append(buf, static_cast<std::size_t>(n));
    }
    const std::size_t start = request.find(' ') + 1;
    const std::string path = request.substr(start, request.find(' ', start) - start);

    HttpsReply reply = HttpsReply::Status(404);
    {
        std::lock_guard lock(m_mutex);
        ++m_requests[path];
        if (auto it = m_replies.find(path); it != m_replies.end()) reply = it->second;
    }
    using Kind = HttpsReply::Kind;
    switch (reply.kind) {
        case Kind::kWhole:
            c.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(reply.body.size()) +
                   "\r\nConnection: close\r\n\r\n" + reply.body);
            break;
        case Kind::kCut:
            c.Send("HTTP/1.1 200 OK\r\nContent-Length: " +
                   std::to_string(reply.body.size() * 4 + 1000) + "\r\nConnection: close\r\n\r\n" +
                   reply.body);
            break;
        case Kind::kStatus:
            c.Send("HTTP/1.1 " + std::to_string(reply.status) +
                   " Failed\r\nContent-Length: " + std::to_string(reply.body.size()) +
                   "\r\nConnection: close\r\n\r\n" + reply.body);
            break;
        case Kind::kRedirect:
            c.Send("HTTP/1.1 302 Found\r\nLocation: " + reply.where +
                   "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            break;
        case Kind::kPaced: {
            c.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(reply.body.size()) +
                   "\r\nConnection: close\r\n\r\n");
            // A slice every 20 ms, until the client gives up or the test ends.
            const std::size_t slice = std::max<std::size_t>(1, reply.bytesPerSecond / 50);
            for (std::size_t at = 0; at < reply.body.size() && !m_stop; at += slice) {
                if (!c.Send(std::string_view(reply.body).substr(at, slice))) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            break;
        }
        case Kind::kUnannounced: {
            c.Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            bool open = c.Send(reply.body);
            const std::string zeros(1 << 16, '\0');
            for (long long left = reply.size - static_cast<long long>(reply.body.size());
                 open && left > 0 && !m_stop; left -= static_cast<long long>(zeros.size()))
                open = c.Send(std::string_view(zeros).substr(
                    0, static_cast<std::size_t>(std::min<long long>(left, zeros.size()))));
            break;
        }
        case Kind::kSilentAfterHeaders: {
            c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n");
            // Nothing more until the client gives up or the test ends.
            while (!m_stop) {
                pollfd p{client, POLLIN, 0};
                if (poll(&p, 1, 20) > 0) break;
            }
            break;
        }
    }
    if (ssl) {
        SSL_shutdown(ssl);
        SSL_free(ssl);
    }
}

}  // namespace kestrova::test
