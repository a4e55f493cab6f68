#include "platform/win32_net.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/file.h"
#include "platform/win32_errors.h"

namespace {

platform::DownloadOptions& Options() {
    static platform::DownloadOptions options;
    return options;
}

HRESULT FromCurl(CURLcode code) {
    switch (code) {
        case CURLE_OK:
            return S_OK;
        case CURLE_UNSUPPORTED_PROTOCOL:
            return INET_E_UNKNOWN_PROTOCOL;
        case CURLE_URL_MALFORMAT:
            return INET_E_INVALID_URL;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
            return INET_E_CANNOT_CONNECT;
        case CURLE_OPERATION_TIMEDOUT:
            return INET_E_CONNECTION_TIMEOUT;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CACERT_BADFILE:
            return INET_E_SECURITY_PROBLEM;
        case CURLE_FILESIZE_EXCEEDED:
            return INET_E_DOWNLOAD_FAILURE;
        case CURLE_OUT_OF_MEMORY:
            return E_OUTOFMEMORY;
        case CURLE_WRITE_ERROR:
            return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
        case CURLE_ABORTED_BY_CALLBACK:
            return E_ABORT;
        default:
            return INET_E_DOWNLOAD_FAILURE;
    }
}

using Clock = std::chrono::steady_clock;

// The lowest speed as a sliding window: the transfer fails at the first moment when fewer than
// bytesPerSecond x seconds bytes came in the last `seconds`. libcurl's own rule compares an
// average of the last few seconds, so a silence after a fast stretch went on for up to seven
// seconds longer than the rule says.
class SpeedFloor {
  public:
    SpeedFloor(long bytesPerSecond, long seconds, Clock::time_point start)
        : m_need(static_cast<long long>(bytesPerSecond) * seconds),
          m_window(std::chrono::seconds(seconds)),
          m_marks{{start, 0}} {}

    void Received(Clock::time_point now, long long total) {
        if (m_need <= 0) return;
        m_marks.push_back({now, total});
        // A mark the window may start after and still hold enough bytes is no longer needed.
        while (m_marks.front().total <= total - m_need) m_marks.pop_front();
    }

    // When the transfer fails unless more bytes come: once the window starts after the oldest
    // mark that is left, it holds fewer than enough.
    Clock::time_point Deadline() const {
        return m_need > 0 ? m_marks.front().at + m_window : Clock::time_point::max();
    }

  private:
    struct Mark {
        Clock::time_point at;
        long long total;  // bytes received up to then
    };
    long long m_need;
    Clock::duration m_window;
    std::deque<Mark> m_marks;
};

struct Sink {
    FILE* file;
    SpeedFloor floor;
    long long written = 0;
    long long maxBytes = 0;
    bool tooLong = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* out) {
    auto* sink = static_cast<Sink*>(out);
    const long long n = static_cast<long long>(size * count);
    // A server that sends no length is held to the limit here, byte by byte.
    if (sink->maxBytes > 0 && sink->written + n > sink->maxBytes) {
        sink->tooLong = true;
        return 0;
    }
    sink->written += n;
    sink->floor.Received(Clock::now(), sink->written);
    return std::fwrite(data, size, count, sink->file) * size;
}

// How long a transfer that may be cancelled waits for the network before it looks again.
constexpr long long kCancelCheckMs = 50;

// Runs the transfer to its end, to the deadline of the lowest speed or to its cancellation,
// whichever comes first; libcurl's own time limits run on inside.
CURLcode Perform(CURL* curl, const Sink& sink, const std::function<bool()>& cancelled) {
    CURLM* multi = curl_multi_init();
    if (!multi) return CURLE_OUT_OF_MEMORY;
    curl_multi_add_handle(multi, curl);
    CURLcode code = CURLE_OK;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        if (!running) {
            int left = 0;
            const CURLMsg* done = curl_multi_info_read(multi, &left);
            code = done && done->msg == CURLMSG_DONE ? done->data.result : CURLE_RECV_ERROR;
            break;
        }
        if (cancelled && cancelled()) {
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        // Judged after what had come was taken in, and when the window ends, not a second late.
        const Clock::time_point now = Clock::now();
        if (now >= sink.floor.Deadline()) {
            code = CURLE_OPERATION_TIMEDOUT;
            break;
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(sink.floor.Deadline() - now);
        const long long longest = cancelled ? kCancelCheckMs : 1000;
        if (curl_multi_poll(multi, nullptr, 0,
                            static_cast<int>(std::min<long long>(wait.count(), longest)),
                            nullptr) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
    }
    curl_multi_remove_handle(multi, curl);
    curl_multi_cleanup(multi);
    return code;
}

// Runs the transfer into `out`; S_OK only for a complete body with a status below 400.
HRESULT Transfer(const char* url, FILE* out, const platform::DownloadOptions& o) {
    CURL* curl = curl_easy_init();
    if (!curl) return E_OUTOFMEMORY;
    const char* protocols = o.httpsOnly ? "https" : "http,https";
    curl_easy_setopt(curl, CURLOPT_URL, url);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, protocols);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, o.connectMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, o.totalMs);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (o.maxBytes > 0)
        curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(o.maxBytes));
    if (!o.caFile.empty()) {
        // Only this file's authorities: neither the system's nor a directory of them.
        curl_easy_setopt(curl, CURLOPT_CAINFO, o.caFile.c_str());
        curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr);
    } else {
        // The curl tool's convention; the library itself reads none of these variables.
        if (const char* bundle = std::getenv("CURL_CA_BUNDLE"); bundle && *bundle)
            curl_easy_setopt(curl, CURLOPT_CAINFO, bundle);
        else if (const char* file = std::getenv("SSL_CERT_FILE"); file && *file)
            curl_easy_setopt(curl, CURLOPT_CAINFO, file);
        if (const char* dir = std::getenv("SSL_CERT_DIR"); dir && *dir)
            curl_easy_setopt(curl, CURLOPT_CAPATH, dir);
    }
    Sink sink{out, SpeedFloor(o.lowSpeedBytesPerSecond, o.lowSpeedSeconds, Clock::now()), 0,
              o.maxBytes};
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    CURLcode code = Perform(curl, sink, o.cancelled);
    if (sink.tooLong) code = CURLE_FILESIZE_EXCEEDED;
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    if (code != CURLE_OK) return FromCurl(code);
    if (status >= 400)
        return status == 404 || status == 410 ? INET_E_RESOURCE_NOT_FOUND : INET_E_DOWNLOAD_FAILURE;
    return S_OK;
}

namespace fs = std::filesystem;

// Downloads to `target` write to files named so, beside it, until they are complete.
std::string PartFilePrefix(const fs::path& target) {
    return "." + target.filename().string() + ".part-";
}

fs::path FolderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

}  // namespace

BOOL IsNetworkAlive(DWORD* flags) {
    if (flags) *flags = 0;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return platform::FailWithErrno(errno);
    bool alive = false;
    for (ifaddrs* a = list; a; a = a->ifa_next) {
        const unsigned f = a->ifa_flags;
        if ((f & IFF_UP) && (f & IFF_RUNNING) && !(f & IFF_LOOPBACK)) alive = true;
    }
    freeifaddrs(list);
    SetLastError(ERROR_SUCCESS);
    if (alive && flags) *flags = NETWORK_ALIVE_LAN;
    return alive ? TRUE : FALSE;
}

HRESULT URLDownloadToFileA(void* caller, const char* url, const char* fileName, DWORD reserved,
                           void* callback) {
    return platform::DownloadToFile(url, fileName, Options());
}

namespace platform {

DownloadOptions GetDownloadOptions() {
    return Options();
}

void SetDownloadOptions(const DownloadOptions& options) {
    Options() = options;
}

void SetDownloadTimeouts(long connectMs, long totalMs) {
    Options().connectMs = connectMs;
    Options().totalMs = totalMs;
}

HRESULT DownloadToFile(const char* url, const char* fileName, const DownloadOptions& options) {
    if (!url || !fileName || !*fileName) return E_INVALIDARG;
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    const fs::path target(fileName);
    std::string temp = (FolderOf(target) / (PartFilePrefix(target) + "XXXXXX")).string();
    int fd = mkstemp(temp.data());
    if (fd < 0) return HRESULT_FROM_WIN32(platform::Win32ErrorFromErrno(errno));
    // Held until the file is closed: it tells the clean-up of leftovers that this one is alive.
    flock(fd, LOCK_EX);
    // mkstemp makes the file private; the finished file gets the usual creation mode.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    FILE* out = fdopen(fd, "wb");
    if (!out) {
        close(fd);
        unlink(temp.c_str());
        return E_OUTOFMEMORY;
    }
    HRESULT hr = Transfer(url, out, options);
    // Only a complete file is worth the wait for the disk.
    if (SUCCEEDED(hr) && (std::fflush(out) != 0 || fsync(fileno(out)) != 0))
        hr = HRESULT_FROM_WIN32(platform::Win32ErrorFromErrno(errno));
    if (FAILED(hr)) unlink(temp.c_str());
    if (std::fclose(out) != 0 && SUCCEEDED(hr))
        hr = HRESULT_FROM_WIN32(platform::Win32ErrorFromErrno(errno));
    if (SUCCEEDED(hr) && std::rename(temp.c_str(), fileName) != 0) {
        hr = HRESULT_FROM_WIN32(platform::Win32ErrorFromErrno(errno));
        unlink(temp.c_str());
    }
    return hr;
}

void DeleteLeftoverDownloads(const char* fileName) {
    const fs::path target(fileName);
    const std::string prefix = PartFilePrefix(target);
    std::error_code error;
    for (fs::directory_iterator it(FolderOf(target), error), end; !error && it != end;
         it.increment(error)) {
        const fs::path& path = it->path();
        if (path.filename().string().rfind(prefix, 0) != 0) continue;
        // Only a regular file can be a download's, and only such a file is opened: the open of a
        // pipe would wait for its other end, and the start with it.
        const int fd = platform::OpenRegularFile(path.c_str(), O_RDONLY | O_NOFOLLOW, nullptr);
        if (fd < 0) continue;
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) unlink(path.c_str());
        close(fd);
    }
}

}  // namespace platform
