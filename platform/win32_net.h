#pragma once
// Network state and downloads (http and https, with certificate verification).

#include <functional>
#include <string>

#include "platform/win_types.h"

using HRESULT = LONG;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT INET_E_INVALID_URL = static_cast<HRESULT>(0x800C0002);
constexpr HRESULT INET_E_CANNOT_CONNECT = static_cast<HRESULT>(0x800C0004);
constexpr HRESULT INET_E_RESOURCE_NOT_FOUND = static_cast<HRESULT>(0x800C0005);
constexpr HRESULT INET_E_DOWNLOAD_FAILURE = static_cast<HRESULT>(0x800C0008);
constexpr HRESULT INET_E_CONNECTION_TIMEOUT = static_cast<HRESULT>(0x800C000B);
constexpr HRESULT INET_E_SECURITY_PROBLEM = static_cast<HRESULT>(0x800C000E);
constexpr HRESULT INET_E_UNKNOWN_PROTOCOL = static_cast<HRESULT>(0x800C000D);

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}
constexpr HRESULT HRESULT_FROM_WIN32(DWORD error) {
    return error == 0 ? S_OK : static_cast<HRESULT>((error & 0xFFFF) | 0x80070000u);
}

constexpr DWORD NETWORK_ALIVE_LAN = 0x1;
constexpr DWORD NETWORK_ALIVE_WAN = 0x2;

// TRUE when an interface other than loopback is up and running; `flags` (optional) then gets
// NETWORK_ALIVE_LAN.
BOOL IsNetworkAlive(DWORD* flags);

// Downloads `url` (http or https) to `fileName`. The body goes to a temporary file beside the
// target, which takes the target's name only once the transfer is complete, so a failed or cut
// download never leaves a partial file under that name (an existing target is replaced only by
// a complete one). An HTTP status of 400 or more is a failure. Certificates are verified against
// the system's authorities, or the bundle named by $CURL_CA_BUNDLE or $SSL_CERT_FILE, or the one
// the download options name. `caller`, `reserved` and `callback` are unused.
HRESULT URLDownloadToFileA(void* caller, const char* url, const char* fileName, DWORD reserved,
                           void* callback);

namespace platform {

// How the downloads that follow are made. A caller that needs other limits or more trust checks
// for one file passes its own to DownloadToFile.
struct DownloadOptions {
    long connectMs = 15000;  // name lookup, connection and TLS handshake
    long totalMs = 300000;   // the whole transfer; 0: no limit
    // A transfer fails as soon as fewer than bytesPerSecond x seconds bytes came in the last
    // `seconds` (counted from its start): a slow but steady link still finishes a large file, a
    // server that trickles or goes silent does not. 0 in either: no lowest speed.
    long lowSpeedBytesPerSecond = 1000;
    long lowSpeedSeconds = 15;
    long long maxBytes = 0;  // a longer body fails the download; 0: no limit
    bool httpsOnly = false;  // refuse plain http, for the address and for every redirect
    std::string caFile;      // trust only the authorities in this file; empty: as above
    // Asked on the downloading thread while the transfer runs: once it says yes, the transfer
    // stops within a few tens of milliseconds and fails with E_ABORT. Empty: never.
    std::function<bool()> cancelled;
};
DownloadOptions GetDownloadOptions();
void SetDownloadOptions(const DownloadOptions& options);

// Connection and whole-transfer limits of downloads (defaults 15 s and 300 s).
void SetDownloadTimeouts(long connectMs, long totalMs);

// URLDownloadToFileA with `options` in place of the current ones. Safe to call from any thread.
HRESULT DownloadToFile(const char* url, const char* fileName, const DownloadOptions& options);

// Deletes the temporary files that downloads to `fileName` left behind when their process was
// killed. The file of a download that is still running, in this process or another, is kept,
// and so is anything of that name that is not a regular file, which is never opened.
void DeleteLeftoverDownloads(const char* fileName);

}  // namespace platform
