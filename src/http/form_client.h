// httpformclientA: one HTTP POST with a URL-encoded or multipart/form-data body, sent step by step.
//
// Use: construct; SetSessionOptions; AddParam for each field (flags 0) and for each file to upload
// (ParamFile); BeginFormPost or BeginMultipartPost, which sends the request headers with the exact
// body length; then repeatedly QueryProgress (for the display), CancelPost (when the user asks to
// stop) and ProceedPost(1024) until ProceedPost returns the reply; then read the reply
// (http_reply.h). After a cancel, ProceedPost raises 104, which ends such a loop.
//
// Every failure raises httpclientexceptionA (exceptions.h, codes in error_codes.h). A failure inside a
// begin or a step abandons the post (its connection and files are closed); the client stays usable
// and a new begin sends the whole body again from the start.
//
// Threads: one thread drives a client, from construction to destruction; nothing is locked. A stop
// asked for on another thread reaches the driving thread in two ways: through a flag it checks between
// steps, after which it calls CancelPost; and through the abort check (SetAbortCheck), which every wait
// inside a begin, a step or a read of the reply looks at in each of its slices, so that a step stalled
// on a silent server stops too. The reply may be handed to another thread and may outlive the client;
// it keeps the abort check of its post.
//
// An https:// URL is posted over TLS. The server's certificate must verify against the trusted
// authorities (certificate_trust.h) and name the URL's host; one that does not fails the begin with
// 407, as a server that cannot be reached does.
//
// Texts (URL, names, values, paths) are single-byte strings sent as their bytes. Upload file paths are
// turned into file-system names by the file-name mapper (by default used as they are). A file that
// cannot be opened is sent as an empty part of type "application/octet-stream". A file must not change
// between the begin and its part: the length announced at the begin is kept, and a file whose size
// differs when its part starts, or that yields fewer bytes than that size, fails the step with 105.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "http/error_codes.h"
#include "http/exceptions.h"
#include "http/form_param.h"
#include "http/http_reply.h"
#include "http/post_progress.h"
#include "http/proxy_choice.h"
#include "http/transport.h"

namespace Tarvo {

// Turns an upload path as given to AddParam into the name the file system knows it by (on Windows in
// UTF-8, as the narrow code page cannot hold every name); none when the path has no such name (the part
// is then sent empty).
using FileNameMapper = std::function<std::optional<std::string>(std::string_view path)>;

// The multipart boundary of a client: a random one, or the fixed one (kFixedBoundary), whose bodies
// tests can write down by hand.
enum class BoundaryChoice { Random, Fixed };

struct PostContext;

// The user agent when the session options name none.
inline constexpr std::string_view kDefaultUserAgent = "Tarvo HTTP Client Class";

class httpformclientA {
  public:
    explicit httpformclientA(BoundaryChoice boundary = BoundaryChoice::Random);
    // Abandons a running post.
    ~httpformclientA();
    httpformclientA(const httpformclientA&) = delete;
    httpformclientA& operator=(const httpformclientA&) = delete;

    // The session options, effective from the next begin: the user agent (none: the default), the
    // access type (proxy_choice.h: preconfigured, direct or named proxy), the proxy and its bypass
    // list for the named-proxy access, and open flags (kept; no flag changes this transport).
    void SetSessionOptions(std::optional<std::string_view> agent, std::uint32_t accessType,
                           std::optional<std::string_view> proxy, std::optional<std::string_view> proxyBypass,
                           std::uint32_t openFlags);
    // How long a post waits to connect, and without any byte moving, before its step fails; 60 s each
    // by default. Effective from the next begin.
    void SetTimeLimits(TimeLimits limits);
    void SetFileNameMapper(FileNameMapper mapper);
    // Looked at in every slice of every wait of a post and of its reply's reads (transport.h); true
    // ends the waiting step with its code (407, 408, 409, 401). Effective from the next begin.
    void SetAbortCheck(AbortCheck check);

    // Adds a parameter: after every parameter of the same name (ignoring case), before every greater
    // one. A missing value is sent empty. Flags: form_param.h.
    void AddParam(std::string_view name, std::optional<std::string_view> value, std::uint32_t flags = 0);

    // Begin a post to `url`: abandon a running one, compute the body length (a multipart post opens
    // its files here), connect and send the request headers. `useCache` false (what the lab's server
    // needs) adds "Cache-Control: no-cache". Raises 107 and 103 for a bad URL, 407 when the
    // connection cannot be made or the headers not sent, 605 when a file's size cannot be taken, 112
    // when the body does not fit 32 bits.
    void BeginFormPost(std::string_view url, bool useCache);
    void BeginMultipartPost(std::string_view url, bool useCache);

    // One step of the running post: a structural piece, or at most `chunkSize` content bytes of the
    // current parameter. Returns the reply on the step after the last body byte, null before.
    // Raises 104 when no post runs, 408 when writing fails, 409 when no reply comes, 105/602 for
    // upload files. A chunk size of 0 sends no content, so callers pass at least 1.
    std::unique_ptr<httpreplyA> ProceedPost(std::uint32_t chunkSize);

    // The progress of the running post; before its first parameter begins, the preview with that
    // parameter already counted; all zeros when no post runs.
    void QueryProgress(postprogressA& progress) const;

    // Abandons the running post: true; false when none runs.
    bool CancelPost();

    const std::string& Boundary() const { return boundary_; }

  private:
    enum class Mode { Form, Multipart };

    void Begin(std::string_view url, bool useCache, Mode mode);
    std::unique_ptr<httpreplyA> FormStep(std::uint32_t chunkSize);
    std::unique_ptr<httpreplyA> MultipartStep(std::uint32_t chunkSize);
    std::unique_ptr<httpreplyA> Finish();
    void BeginPart();
    void SendContent(std::uint32_t chunkSize);
    void Send(const char* data, std::uint32_t size, bool content);
    void Send(std::string_view bytes) { Send(bytes.data(), static_cast<std::uint32_t>(bytes.size()), false); }

    std::string boundary_;
    std::string contentType_;
    FormParamList params_;
    std::optional<std::string> agent_;
    std::uint32_t accessType_ = 0;
    std::optional<std::string> proxy_;
    std::optional<std::string> proxyBypass_;
    std::uint32_t openFlags_ = 0;
    TimeLimits limits_;
    FileNameMapper fileNames_;
    AbortCheck abortCheck_;
    std::unique_ptr<PostContext> post_;
};

}  // namespace Tarvo
