#include "http/transport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#include "http/error_codes.h"
#include "http/exceptions.h"

namespace Tarvo {

namespace {

using Clock = std::chrono::steady_clock;

// Body bytes are collected into pieces of this size before the network library sees them: handing it
// every small step would send each as a packet of its own.
constexpr std::size_t kSendPiece = 64 * 1024;
// Above this many unread reply bytes the receiving side pauses until the caller reads.
constexpr std::size_t kReceiveBound = 256 * 1024;

void initialiseLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

struct Transport::Impl {
    TimeLimits limits;
    AbortCheck abortCheck;
    std::uint32_t bodyLength = 0;
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    curl_slist* headerList = nullptr;
    bool added = false;
    char errorText[CURL_ERROR_SIZE] = {};

    // Sending: bytes collected, how many of them the library has taken, and all bytes taken so far.
    std::vector<char> staged;
    std::size_t stagedTaken = 0;
    std::uint64_t handedOver = 0;
    bool headersSent = false;
    bool sendPaused = false;

    // Receiving.
    std::string received;
    std::size_t receivedRead = 0;
    std::uint64_t headerBytes = 0;
    std::uint64_t bodyBytes = 0;
    bool replyHeadersDone = false;
    bool receivePaused = false;

    bool finished = false;
    CURLcode result = CURLE_OK;

    ~Impl() {
        if (added)
            curl_multi_remove_handle(multi, easy);
        if (easy != nullptr)
            curl_easy_cleanup(easy);
        if (multi != nullptr)
            curl_multi_cleanup(multi);
        curl_slist_free_all(headerList);
    }

    std::size_t Buffered() const { return received.size() - receivedRead; }

    // --- callbacks of the network library; they must not throw ---

    static std::size_t OnRead(char* buffer, std::size_t size, std::size_t count, void* self) {
        auto& impl = *static_cast<Impl*>(self);
        impl.headersSent = true;  // the library asks for body bytes only once the headers are out
        const std::size_t available = impl.staged.size() - impl.stagedTaken;
        if (available == 0) {
            // Never 0 before the end: to the library that would end the body.
            impl.sendPaused = true;
            return CURL_READFUNC_PAUSE;
        }
        const std::size_t taken = std::min(available, size * count);
        std::memcpy(buffer, impl.staged.data() + impl.stagedTaken, taken);
        impl.stagedTaken += taken;
        impl.handedOver += taken;
        return taken;
    }

    static int OnPreRequest(void* self, char*, char*, int, int) {
        auto& impl = *static_cast<Impl*>(self);
        if (impl.bodyLength == 0)
            impl.headersSent = true;  // without a body the library never asks for one
        return CURL_PREREQFUNC_OK;
    }

    static std::size_t OnHeader(char* line, std::size_t size, std::size_t count, void* self) {
        auto& impl = *static_cast<Impl*>(self);
        const std::size_t length = size * count;
        impl.headerBytes += length;
        if (length <= 2 && (length == 0 || line[0] == '\r' || line[0] == '\n')) {
            long status = 0;
            curl_easy_getinfo(impl.easy, CURLINFO_RESPONSE_CODE, &status);
            if (status >= 200)
                impl.replyHeadersDone = true;  // an interim "100 Continue" is not the reply
        }
        return length;
    }

    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
        auto& impl = *static_cast<Impl*>(self);
        const std::size_t length = size * count;
        if (impl.Buffered() >= kReceiveBound) {
            impl.receivePaused = true;
            return CURL_WRITEFUNC_PAUSE;  // the library keeps these bytes and offers them again
        }
        try {
            if (impl.receivedRead == impl.received.size()) {
                impl.received.clear();
                impl.receivedRead = 0;
            } else if (impl.receivedRead >= kReceiveBound) {
                impl.received.erase(0, impl.receivedRead);
                impl.receivedRead = 0;
            }
            impl.received.append(data, length);
        } catch (const std::bad_alloc&) {
            return 0;  // fails the transfer
        }
        impl.bodyBytes += length;
        return length;
    }

    // --- driving ---

    std::uint64_t Movement() const {
        curl_off_t uploaded = 0;
        curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &uploaded);
        return handedOver + headerBytes + bodyBytes + static_cast<std::uint64_t>(uploaded);
    }

    void ApplyPause() {
        curl_easy_pause(easy, (sendPaused ? CURLPAUSE_SEND : 0) | (receivePaused ? CURLPAUSE_RECV : 0));
    }

    [[noreturn]] void Fail(std::uint32_t code, CURLcode curlCode, const std::string& what) const {
        std::string diagnostic = what;
        if (curlCode != CURLE_OK) {
            diagnostic += diagnostic.empty() ? "" : ": ";
            diagnostic += errorText[0] != '\0' ? errorText : curl_easy_strerror(curlCode);
        }
        RaiseTransportError(code, static_cast<std::uint32_t>(curlCode), diagnostic);
    }

    void CollectResult() {
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
                finished = true;
                result = message->data.result;
            }
        }
    }

    enum class Limit { Connect, Stall };

    // Runs the transfer until `reached()` holds. The step fails with `code` when the transfer ends
    // without reaching it or when the time limit passes.
    template <class Reached>
    void RunUntil(Reached reached, std::uint32_t code, Limit limit, const char* waitingFor) {
        const auto start = Clock::now();
        auto lastMove = start;
        auto mark = Movement();
        for (;;) {
            int running = 0;
            if (const CURLMcode failure = curl_multi_perform(multi, &running); failure != CURLM_OK)
                RaiseTransportError(code, static_cast<std::uint32_t>(failure), curl_multi_strerror(failure));
            CollectResult();
            if (reached())
                return;
            if (finished)
                Fail(code, result, std::string("the connection ended while ") + waitingFor);
            if (abortCheck && abortCheck())
                Fail(code, CURLE_ABORTED_BY_CALLBACK, std::string("stopped on request while ") + waitingFor);
            const auto now = Clock::now();
            if (const auto moved = Movement(); moved != mark) {
                mark = moved;
                lastMove = now;
            }
            const auto deadline = limit == Limit::Connect ? start + limits.connect : lastMove + limits.stall;
            if (now >= deadline)
                Fail(code, CURLE_OPERATION_TIMEDOUT, std::string("time limit passed while ") + waitingFor);
            const auto slice = std::min<Clock::duration>(deadline - now, kWaitSlice);
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(slice).count() + 1;
            curl_multi_poll(multi, nullptr, 0, static_cast<int>(ms), nullptr);
        }
    }

    void Drain() {
        if (stagedTaken == staged.size())
            return;
        if (sendPaused) {
            sendPaused = false;
            ApplyPause();
        }
        RunUntil([this] { return stagedTaken == staged.size(); }, kErrWriteFile, Limit::Stall,
                 "sending the body");
        staged.clear();
        stagedTaken = 0;
    }
};

Transport::Transport(const TransportRequest& request) : impl_(std::make_unique<Impl>()) {
    initialiseLibrary();
    Impl& impl = *impl_;
    impl.limits = request.limits;
    impl.abortCheck = request.abortCheck;
    impl.bodyLength = request.bodyLength;
    impl.staged.reserve(kSendPiece);
    impl.multi = curl_multi_init();
    impl.easy = curl_easy_init();
    if (impl.multi == nullptr || impl.easy == nullptr)
        RaiseTransportError(kErrOpenSession, 0, "the network library could not be set up");

    for (const auto& header : request.headers) {
        curl_slist* extended = curl_slist_append(impl.headerList, header.c_str());
        if (extended == nullptr)
            RaiseTransportError(kErrAddHeaders, 0, "the request headers could not be stored");
        impl.headerList = extended;
    }
    // An empty "Expect:" keeps the library from announcing large bodies with "100-continue".
    if (curl_slist* extended = curl_slist_append(impl.headerList, "Expect:"); extended != nullptr)
        impl.headerList = extended;
    else
        RaiseTransportError(kErrAddHeaders, 0, "the request headers could not be stored");

    CURL* easy = impl.easy;
    const long connectMs =
        static_cast<long>(std::max<std::chrono::milliseconds::rep>(1, request.limits.connect.count()));
    const CURLcode codes[] = {
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, impl.errorText),
        curl_easy_setopt(easy, CURLOPT_URL, request.baseUrl.c_str()),
        curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, request.requestTarget.c_str()),
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https"),
        // The proxy is chosen by the caller, who shapes the request target for it: the library must
        // not choose otherwise from the environment.
        curl_easy_setopt(easy, CURLOPT_PROXY, request.proxy.c_str()),
        curl_easy_setopt(easy, CURLOPT_NOPROXY, ""),
        curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L),
        curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1)),
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L),
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, connectMs),
        curl_easy_setopt(easy, CURLOPT_POST, 1L),
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.bodyLength)),
        curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE, static_cast<long>(kSendPiece)),
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, impl.headerList),
        curl_easy_setopt(easy, CURLOPT_USERAGENT, request.userAgent.c_str()),
        curl_easy_setopt(easy, CURLOPT_READFUNCTION, &Impl::OnRead),
        curl_easy_setopt(easy, CURLOPT_READDATA, &impl),
        curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Impl::OnPreRequest),
        curl_easy_setopt(easy, CURLOPT_PREREQDATA, &impl),
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Impl::OnHeader),
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, &impl),
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Impl::OnBody),
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &impl),
        // The login and password go with every request: a server that cannot prove who it is gets none.
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L),
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L),
    };
    for (const CURLcode code : codes) {
        if (code != CURLE_OK)
            impl.Fail(kErrOpenRequest, code, "the request could not be prepared");
    }
    if (request.certificateAuthorities) {
        // Only the named authorities: the system's folder of them is not consulted beside the file.
        const CURLcode trust[] = {
            curl_easy_setopt(easy, CURLOPT_CAINFO, request.certificateAuthorities->c_str()),
            curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr),
        };
        for (const CURLcode code : trust) {
            if (code != CURLE_OK)
                impl.Fail(kErrOpenRequest, code, "the trusted certificate authorities could not be set");
        }
    }
}

Transport::~Transport() = default;

void Transport::SendHeaders() {
    Impl& impl = *impl_;
    if (const CURLMcode failure = curl_multi_add_handle(impl.multi, impl.easy); failure != CURLM_OK)
        RaiseTransportError(kErrSendRequestEx, static_cast<std::uint32_t>(failure),
                            curl_multi_strerror(failure));
    impl.added = true;
    impl.RunUntil([&impl] { return impl.headersSent; }, kErrSendRequestEx, Impl::Limit::Connect,
                  "connecting and sending the request headers");
}

void Transport::Write(const char* data, std::size_t size) {
    Impl& impl = *impl_;
    const std::uint64_t pending = impl.handedOver + (impl.staged.size() - impl.stagedTaken);
    if (size > impl.bodyLength - pending)
        RaiseTransportError(kErrWriteFile, 0, "more body bytes than the request announced");
    while (size > 0) {
        if (impl.staged.size() == kSendPiece)
            impl.Drain();
        const std::size_t n = std::min(size, kSendPiece - impl.staged.size());
        impl.staged.insert(impl.staged.end(), data, data + n);
        data += n;
        size -= n;
    }
    // A complete body goes out at once; the reply may then be awaited.
    if (impl.staged.size() == kSendPiece ||
        impl.handedOver + impl.staged.size() - impl.stagedTaken == impl.bodyLength)
        impl.Drain();
}

void Transport::EndRequest() {
    Impl& impl = *impl_;
    if (impl.handedOver + (impl.staged.size() - impl.stagedTaken) != impl.bodyLength)
        RaiseTransportError(kErrEndRequest, 0, "the body is shorter than the request announced");
    impl.Drain();
    impl.RunUntil([&impl] { return impl.replyHeadersDone || impl.finished; }, kErrEndRequest,
                  Impl::Limit::Stall, "waiting for the reply");
    if (!impl.replyHeadersDone)
        impl.Fail(kErrEndRequest, impl.result, "the connection ended before the reply");
}

std::uint32_t Transport::StatusCode() const {
    long status = 0;
    curl_easy_getinfo(impl_->easy, CURLINFO_RESPONSE_CODE, &status);
    return static_cast<std::uint32_t>(status);
}

std::optional<std::uint64_t> Transport::ContentLength() const {
    curl_off_t length = -1;
    if (curl_easy_getinfo(impl_->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK || length < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(length);
}

std::size_t Transport::Read(char* buffer, std::size_t size) {
    Impl& impl = *impl_;
    if (size == 0)
        return 0;
    if (impl.Buffered() == 0 && !impl.finished) {
        impl.RunUntil([&impl] { return impl.Buffered() > 0 || impl.finished; }, kErrReadFile,
                      Impl::Limit::Stall, "reading the reply");
    }
    if (impl.Buffered() > 0) {
        const std::size_t n = std::min(size, impl.Buffered());
        std::memcpy(buffer, impl.received.data() + impl.receivedRead, n);
        impl.receivedRead += n;
        if (impl.receivePaused && impl.Buffered() < kReceiveBound) {
            impl.receivePaused = false;
            impl.ApplyPause();
        }
        return n;
    }
    if (impl.result != CURLE_OK)
        impl.Fail(kErrReadFile, impl.result, "the connection broke while reading the reply");
    return 0;
}

}  // namespace Tarvo
