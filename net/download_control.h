#pragma once
// Download_Control: the one component that talks to the network. It fetches
// one resource at a time with a hand-built HTTP/1.0 GET over a TCP socket,
// directly or through an HTTP proxy with optional Basic authorisation, and
// hands back the raw response text. An "https://" host is fetched with the
// same request over TLS (through the proxy inside a CONNECT tunnel), its
// certificate checked against the system's authorities and CaFile. The
// main window owns one instance, DC.
//
// Calling order:
//   at start        PathCasheFiles(folder), CasheSize(n)
//   before a run    UseProxyServer(name, port, true), ProxyAut(login, pass, true)
//   per site        RHost("www.site.ru"), RHost("127.0.0.1:8080"),
//                   RHost("https://www.site.ru")
//   per resource    Down("/daily/", useCache)
//
// Down is synchronous for its caller but runs a nested event loop while it
// waits, so the stop button (which calls Stopped) and every timer keep working
// during a fetch. No second Down may start while one waits; such a call
// returns "error" at once. Down returns:
//   - the whole raw response (status line and headers included; redirects and
//     server errors are ordinary responses; ExtractBody in net/response.h cuts
//     the header off), its body cut at Content-Length and a chunked body
//     decoded (JudgeReceived in net/response.h),
//   - a cached raw response (no network traffic),
//   - "error": socket error, a proxy's 407 (ProxyRefused() tells), "404 Not
//     Found" in the status line, no byte within the silence limit, a fetch
//     longer than the fetch limit, a close without data, an answer without a
//     status line, a response cut short (by a reset too), damaged chunked
//     framing, a response larger than the memory limit, a bad proxy port, a
//     host entry with blanks or control characters or another scheme, a
//     certificate that fails the check or a TLS handshake that fails ("Ошибка
//     безопасного соединения: " + the reason, drawn as a link like a socket
//     error),
//   - "stop": Stopped() was called during the fetch, or the application is
//     quitting.
//
// The control runs the fetch and judges its end; its parts live apart:
// FetchRoute (net/fetch_route.h) plans where each connection goes and builds
// the request, FetchConnection (net/fetch_connection.h) carries it,
// FetchLimits (net/fetch_limits.h) watches the silence and fetch limits,
// and DownloadFace (net/download_face.h) keeps the status, activity picture
// and traffic count. The face is drawn by DownloadControlView
// (net/download_control_view.h) from the signals and accessors below; logic
// and tests need no widget.

#include "net/download_face.h"
#include "net/fetch_limits.h"
#include "net/fetch_route.h"
#include "net/response.h"
#include "net/response_cache.h"
#include "settings/bytetext.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>

class FetchConnection;
class Messenger;
class QEventLoop;

class Download_Control : public QObject {
    Q_OBJECT

public:
    // A fetch that receives nothing for this long ends in "error".
    static constexpr int DefaultSilenceLimitMs = FetchLimits::DefaultSilenceLimitMs;
    // A fetch that has not ended this long after it started ends in "error",
    // however steadily data arrives. The environment variable
    // NORVEL_FETCH_LIMIT (whole seconds) sets another limit for the run.
    static constexpr int DefaultFetchLimitMs = FetchLimits::DefaultFetchLimitMs;
    static constexpr int AnimationIntervalMs = DownloadFace::AnimationIntervalMs;
    static constexpr int FrameCount = DownloadFace::FrameCount;

    explicit Download_Control(QObject* parent = nullptr);
    ~Download_Control() override;

    // Fetches RemoteFile from the current host; see above for the result.
    // With CasheFile the cache is asked first and a "HTTP/1.x 200 OK" answer
    // is stored afterwards.
    ByteText Down(const ByteText& RemoteFile, bool CasheFile);
    // The same fetch without waiting: its result, as Down would return it,
    // comes with fetched(), always from the event loop, never from inside
    // this call. A second Start while one runs gives "error".
    void Start(const ByteText& RemoteFile, bool CasheFile);
    // Takes lead's host, proxy, credentials, trust, limits and traffic
    // counter, and shares its cache: a control of a FetchPool fetches as
    // the lead would.
    void configureLike(const Download_Control& lead);

    // Host of the following fetches, "name" (port 80) or "name:port", either
    // led by "http://" (the same) or "https://" (TLS, port 443 by default).
    // name[:port] goes into the Host and Referer lines and the proxy URL.
    void RHost(const ByteText& RemoteHost);
    ByteText RemoteHost() const { return route_.host(); }

    // Proxy on or off; name and port are taken only when switching on. A port
    // that is not a number makes the next Down fail with "error".
    void UseProxyServer(const ByteText& Name, const ByteText& Port, bool UseProxyServer);
    // Basic authorisation on or off; credentials (Base64 of login ":"
    // password, Windows-1251 bytes) are computed only when switching on. The
    // header is sent whenever authorisation is on, proxy or not. When the
    // proxy refuses credentials that hold letters outside ASCII, the fetch
    // is tried once more with them in UTF-8; the form the proxy accepted is
    // used first from then on, until other credentials are set.
    void ProxyAut(const ByteText& Login, const ByteText& Password, bool ProxyAut);
    // Whether the last fetch ended in "error" because the proxy refused the
    // credentials (a 407 answer, after the retry).
    bool ProxyRefused() const { return proxyRefused_; }

    // A PEM file of further certificate authorities the https hosts may be
    // certified by (CaFile of sites.ini); empty for the system's alone.
    void setCaFile(const QString& path) { route_.setCaFile(path); }

    // Aborts the running fetch: it returns "stop". Shows "Загрузка прервана".
    void Stopped();

    // Cache folder (program folder + "/cashe"); creates nothing.
    void PathCasheFiles(const QString& CPath);
    // Cache capacity in entries, effective at the next store.
    void CasheSize(int16_t Size);
    // Entries in the cache; 0 without an index file.
    int16_t SizeCashe();
    // Empties the cache and writes a fresh index.
    void ClearCashe();

    // The traffic counter (TrafficBytes of the workflow state) this control
    // adds sent and received bytes to. Without one it counts on its own.
    // The pointer must outlive the control or be replaced.
    void setTrafficCounter(int32_t* counter) { face_.setTrafficCounter(counter); }
    int32_t trafficBytes() const { return face_.trafficBytes(); }
    // "Трафик: " + whole kilobytes + " Кб", as the traffic label shows it.
    static QString TrafficText(int32_t bytes) { return DownloadFace::TrafficText(bytes); }

    // Current face: status label text, whether it is drawn as a link (a
    // socket error), the activity frame 0..5 and whether it animates.
    QString StatusText() const { return face_.status(); }
    bool StatusIsLink() const { return face_.statusIsLink(); }
    int Frame() const { return face_.frame(); }
    bool Animating() const { return face_.animating(); }

    // A click on the status label. In link style it opens the socket-error
    // window through the opener when program folder + "/data/wserror.dat"
    // exists, otherwise says "Не найден файл с описанием ошибок!" through the
    // messenger. Does nothing in normal style.
    void StatusClicked() { face_.statusClicked(); }
    // Opens the socket-error window modally with the path of wserror.dat.
    void setErrorWindowOpener(std::function<void(const QString& wserrorPath)> opener) {
        face_.setErrorWindowOpener(std::move(opener));
    }
    void setMessenger(Messenger* messenger) { face_.setMessenger(messenger); }

    // Limits, shortened by tests.
    void setSilenceLimit(int milliseconds) { limits_.setSilenceLimit(milliseconds); }
    int silenceLimit() const { return limits_.silenceLimit(); }
    void setFetchLimit(int milliseconds) { limits_.setFetchLimit(milliseconds); }
    int fetchLimit() const { return limits_.fetchLimit(); }
    void setResponseLimit(qsizetype bytes) { buffer_.setLimit(bytes); }

    // The exact request Down sends for a path with the current settings.
    ByteText RequestFor(const ByteText& RemoteFile) const { return route_.requestFor(RemoteFile); }

Q_SIGNALS:
    // The control's status label changed; asLink: blue, underlined, hand pointer.
    void statusChanged(const QString& text, bool asLink);
    // A short message for the main window's status line.
    void mainStatusChanged(const QString& text);
    // New text for the main window's traffic label.
    void trafficChanged(const QString& labelText);
    // The activity picture to show, 0..5.
    void frameChanged(int frame);
    // A fetch failed for a reason the user must be told in full wherever
    // the run reports: "Ошибка безопасного соединения: ...", or a proxy
    // that cannot be reached.
    void connectionFailed(const QString& reason);
    // The result of a fetch begun by Start.
    void fetched(const ByteText& result);
    // Stopped was called: the fetches of a pool over this control stop too.
    void stopRequested();

private:
    void setStatus(const QString& text, bool asLink = false);
    void setMainStatus(const QString& text);

    bool begin(const ByteText& RemoteFile, bool CasheFile);
    bool startConnection();
    void onConnected();
    void onReadyRead();
    void onClosed();
    void onSocketError(int code, const QString& description);
    void onSecureFailure(const QString& reason);
    void onSilence();
    void onFetchLimit();
    // Ends the running fetch with a result; later events are ignored.
    void finish(const ByteText& result);
    void fail(const QString& status, const QString& mainStatus);
    void releaseSocket();
    bool readAvailable();
    bool retryWithOtherCredentials();
    void restartSilenceTimer();

    // Per-fetch state.
    ByteText remoteFile_;
    ResponseBuffer buffer_;
    ByteText result_;
    bool casheFile_ = false;
    bool fetching_ = false;
    FetchConnection* WS = nullptr;
    QEventLoop* waitLoop_ = nullptr;
    bool started_ = false; // begun by Start: the end is told by fetched()
    bool triedOtherCredentials_ = false;
    bool proxyRefused_ = false;

    // Settings and parts.
    FetchRoute route_;
    ResponseCache ownCache_;
    ResponseCache* cache_ = &ownCache_; // the lead's, for a control of a pool
    FetchLimits limits_;
    DownloadFace face_;
};
