#include "http/form_client.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "http/certificate_trust.h"
#include "http/checked_math.h"
#include "http/content_type.h"
#include "http/error_codes.h"
#include "http/exceptions.h"
#include "http/multipart.h"
#include "http/upload_file.h"
#include "http/url_parts.h"

namespace Tarvo {

namespace {

// Upload files are read in pieces of this size; each step sends at most one chunk of it.
constexpr std::size_t kFileBufferSize = 57344;

// Request flags of a begin: without the cache, and with it. Only the "no-cache" bit shows on the wire.
constexpr std::uint32_t kFlagsBypassCache = 0x84400F00;
constexpr std::uint32_t kFlagsUseCache = 0x00400E00;
constexpr std::uint32_t kFlagPragmaNoCache = 0x00000100;

constexpr std::string_view kFormContentType = "application/x-www-form-urlencoded";

std::uint32_t length32(std::string_view text) {
    return Checked32(text.size());
}

// Runs an entry point so that only httpclientexceptionA leaves it: a failed allocation becomes 102 and
// a wide exception its narrow twin. `onFailure` releases what the entry point owned.
template <class Body, class OnFailure>
auto Guarded(Body body, OnFailure onFailure) -> decltype(body()) {
    try {
        return body();
    } catch (const httpclientexceptionA&) {
        onFailure();
        throw;
    } catch (const httpclientexceptionW& wide) {
        onFailure();
        throw NarrowedException(wide);
    } catch (const std::bad_alloc&) {
        onFailure();
        RaiseHttpClientError(kErrOutOfMemory);
    }
}

}  // namespace

// An upload file of a multipart post, opened at the begin.
struct FilePart {
    UploadFile file;
    std::string mimeType;
    std::uint32_t size = 0;
};

// A running post: what it sends, how far it has come, and the connection it sends on.
struct PostContext {
    bool multipart = false;
    std::vector<formparam> params;           // as they were at the begin, in list order
    std::vector<std::string> encodedNames;   // form posts
    std::vector<std::string> encodedValues;  // form posts
    std::vector<FilePart> files;             // multipart posts: one per file parameter, in list order
    postprogressA progress;
    postprogressA preview;
    std::unique_ptr<Transport> transport;

    std::string_view content;  // the current plain parameter's content
    FilePart* currentFile = nullptr;
    std::uint32_t fileUnread = 0;
    std::unique_ptr<char[]> fileBuffer;
    std::size_t bufferAt = 0;
    std::size_t bufferEnd = 0;
};

namespace {

void MeasureFormBody(PostContext& post) {
    postprogressA& progress = post.progress;
    for (const formparam& param : post.params) {
        const std::string value = param.value.value_or("");
        post.encodedNames.push_back((param.flags & ParamNameEncoded) ? param.name : FormEncode(param.name));
        post.encodedValues.push_back((param.flags & ParamValueEncoded) ? value : FormEncode(value));
        const std::uint32_t separator = post.encodedNames.size() > 1 ? 1 : 0;
        progress.totalBytes = CheckedSum({progress.totalBytes, separator, post.encodedNames.back().size(), 1,
                                          post.encodedValues.back().size()});
        progress.totalContentBytes =
            CheckedAdd(progress.totalContentBytes, length32(post.encodedValues.back()));
    }
}

// Opens an upload file, takes its size and recognises its type; a file that cannot be opened is
// sent empty.
FilePart OpenUploadFile(const formparam& param, const FileNameMapper& fileNames) {
    FilePart part;
    part.mimeType = kOctetStream;
    if (param.value) {
        if (const auto name = fileNames(*param.value))
            part.file = UploadFile::Open(*name);
    }
    if (!part.file.IsOpen())
        return part;
    const auto failure = [&part] { return static_cast<std::uint32_t>(part.file.LastError()); };
    const auto size = part.file.Size();
    if (!size)
        RaiseHttpClientError(kErrFileSize, failure(), param.value->c_str());
    part.size = Checked32(*size);
    char head[kSniffLength];
    const std::size_t got = part.file.Read(head, sizeof head);
    if (part.file.LastError() != 0)
        RaiseHttpClientError(kErrFileRead, failure(), nullptr);
    if (!part.file.Rewind())
        RaiseHttpClientError(kErrFileRewind, failure(), nullptr);
    part.mimeType = SniffContentType(std::string_view(head, got));
    return part;
}

void MeasureMultipartBody(PostContext& post, std::string_view boundary, const FileNameMapper& fileNames) {
    postprogressA& progress = post.progress;
    if (post.params.empty()) {
        progress.totalBytes = length32(EmptyBody(boundary));
        return;
    }
    for (const formparam& param : post.params) {
        std::uint32_t contentLength = 0;
        std::uint32_t openingLength = 0;
        if (param.IsFile()) {
            FilePart part = OpenUploadFile(param, fileNames);
            contentLength = part.size;
            openingLength =
                length32(FilePartOpening(boundary, param.name, param.value.value_or(""), part.mimeType));
            post.files.push_back(std::move(part));
            ++progress.fileCount;
        } else {
            contentLength = length32(param.value.value_or(""));
            openingLength = length32(PlainPartOpening(boundary, param.name));
        }
        progress.totalBytes =
            CheckedSum({progress.totalBytes, openingLength, contentLength, kPartEnd.size()});
        progress.totalContentBytes = CheckedAdd(progress.totalContentBytes, contentLength);
    }
    progress.totalBytes = CheckedAdd(progress.totalBytes, length32(ClosingBoundary(boundary)));
}

// Where the transport connects and what its request line carries. A plain proxy needs the whole URL
// on the request line; through a tunnel (HTTPS) the request reaches the server itself.
TransportRequest RequestTo(const PostAddress& address, std::string proxy) {
    const std::string scheme = address.secure ? "https://" : "http://";
    const bool defaultPort = address.port == (address.secure ? 443 : 80);
    TransportRequest request;
    request.baseUrl = scheme + address.host + ":" + std::to_string(address.port) + "/";
    request.requestTarget = proxy.empty() || address.secure
                                ? address.objectName
                                : scheme + address.host +
                                      (defaultPort ? "" : ":" + std::to_string(address.port)) +
                                      address.objectName;
    request.proxy = std::move(proxy);
    return request;
}

// Live progress at the begin, and the preview that shows the first parameter as already begun.
void StartProgress(PostContext& post) {
    post.progress.active = 1;
    post.preview = post.progress;
    if (post.params.empty())
        return;
    const formparam& first = post.params.front();
    postprogressA& preview = post.preview;
    preview.paramsBegun = 1;
    preview.currentName = first.name;
    if (!post.multipart) {
        preview.currentLength = length32(post.encodedValues.front());
    } else if (first.IsFile()) {
        preview.filesBegun = 1;
        preview.currentFile = first.value;
        preview.currentLength = post.files.front().size;
    } else {
        preview.currentLength = length32(first.value.value_or(""));
    }
}

}  // namespace

httpformclientA::httpformclientA(BoundaryChoice boundary)
    : boundary_(boundary == BoundaryChoice::Fixed ? std::string(kFixedBoundary) : MakeBoundary()),
      contentType_(MultipartContentType(boundary_)),
      fileNames_([](std::string_view path) { return std::optional<std::string>(path); }) {}

httpformclientA::~httpformclientA() = default;

void httpformclientA::SetSessionOptions(std::optional<std::string_view> agent, std::uint32_t accessType,
                                        std::optional<std::string_view> proxy,
                                        std::optional<std::string_view> proxyBypass,
                                        std::uint32_t openFlags) {
    Guarded(
        [&] {
            // Copies first, so that a failed allocation changes none of the settings.
            std::optional<std::string> newAgent(agent), newProxy(proxy), newBypass(proxyBypass);
            agent_.swap(newAgent);
            proxy_.swap(newProxy);
            proxyBypass_.swap(newBypass);
            accessType_ = accessType;
            openFlags_ = openFlags;
        },
        [] {});
}

void httpformclientA::SetTimeLimits(TimeLimits limits) {
    limits_ = limits;
}

void httpformclientA::SetFileNameMapper(FileNameMapper mapper) {
    fileNames_ = std::move(mapper);
}

void httpformclientA::SetAbortCheck(AbortCheck check) {
    abortCheck_ = std::move(check);
}

void httpformclientA::AddParam(std::string_view name, std::optional<std::string_view> value,
                               std::uint32_t flags) {
    Guarded(
        [&] {
            params_.Add(formparam{std::string(name), std::optional<std::string>(value), flags});
        },
        [] {});
}

void httpformclientA::BeginFormPost(std::string_view url, bool useCache) {
    Begin(url, useCache, Mode::Form);
}

void httpformclientA::BeginMultipartPost(std::string_view url, bool useCache) {
    Begin(url, useCache, Mode::Multipart);
}

bool httpformclientA::CancelPost() {
    if (!post_)
        return false;
    post_.reset();
    return true;
}

void httpformclientA::QueryProgress(postprogressA& progress) const {
    if (!post_) {
        progress = postprogressA{};
        return;
    }
    const postprogressA& live = post_->progress;
    progress = live.paramCount > 0 && live.paramsBegun == 0 ? post_->preview : live;
}

void httpformclientA::Begin(std::string_view url, bool useCache, Mode mode) {
    CancelPost();
    // The post is built aside and becomes the client's only when its headers are out; a failure on
    // the way closes whatever it had opened.
    Guarded(
        [&] {
            auto post = std::make_unique<PostContext>();
            post->multipart = mode == Mode::Multipart;
            post->params = params_.Items();
            post->progress.paramCount = Checked32(post->params.size());
            if (post->multipart)
                MeasureMultipartBody(*post, boundary_, fileNames_);
            else
                MeasureFormBody(*post);

            const PostAddress address = ResolvePostAddress(url);
            TransportRequest request = RequestTo(
                address, ChooseProxy(accessType_, proxy_, proxyBypass_, address.secure, address.host,
                                     ProcessEnvironment, [] { return UserProxySettings(); }));
            if ((useCache ? kFlagsUseCache : kFlagsBypassCache) & kFlagPragmaNoCache)
                request.headers.push_back("Cache-Control: no-cache");
            request.headers.push_back("Content-Type: " +
                                      (post->multipart ? contentType_ : std::string(kFormContentType)));
            request.userAgent = agent_.value_or(std::string(kDefaultUserAgent));
            request.bodyLength = post->progress.totalBytes;
            request.limits = limits_;
            request.abortCheck = abortCheck_;
            if (address.secure)
                request.certificateAuthorities = ChooseCertificateAuthorities(ProcessEnvironment);
            post->transport = std::make_unique<Transport>(request);
            post->transport->SendHeaders();

            StartProgress(*post);
            post_ = std::move(post);
        },
        [] {});
}

std::unique_ptr<httpreplyA> httpformclientA::ProceedPost(std::uint32_t chunkSize) {
    if (!post_)
        RaiseHttpClientError(kErrPostNotStarted);
    return Guarded([&] { return post_->multipart ? MultipartStep(chunkSize) : FormStep(chunkSize); },
                   [this] { post_.reset(); });
}

std::unique_ptr<httpreplyA> httpformclientA::FormStep(std::uint32_t chunkSize) {
    PostContext& post = *post_;
    postprogressA& progress = post.progress;
    if (!progress.CurrentFinished()) {
        SendContent(chunkSize);
        return nullptr;
    }
    if (progress.paramsBegun == progress.paramCount)
        return Finish();
    const std::uint32_t index = progress.paramsBegun;
    std::string head = index == 0 ? "" : "&";
    head.append(post.encodedNames[index]).append("=");
    Send(head);
    post.content = post.encodedValues[index];
    progress.paramsBegun = CheckedAdd(progress.paramsBegun, 1);
    progress.currentName = post.params[index].name;
    progress.currentLength = length32(post.content);
    progress.currentPosted = 0;
    return nullptr;
}

std::unique_ptr<httpreplyA> httpformclientA::MultipartStep(std::uint32_t chunkSize) {
    const postprogressA& progress = post_->progress;
    if (progress.postedBytes == progress.totalBytes)
        return Finish();
    if (progress.paramCount == 0)
        Send(EmptyBody(boundary_));
    else if (!progress.CurrentFinished())
        SendContent(chunkSize);
    else if (progress.paramsBegun == progress.paramCount)
        Send(ClosingBoundary(boundary_));
    else
        BeginPart();
    return nullptr;
}

void httpformclientA::BeginPart() {
    PostContext& post = *post_;
    postprogressA& progress = post.progress;
    const formparam& param = post.params[progress.paramsBegun];
    if (param.IsFile()) {
        FilePart& part = post.files[progress.filesBegun];
        if (part.file.IsOpen()) {
            // The length went out with the headers; a file that changed since cannot fill it.
            const auto size = part.file.Size();
            if (!size)
                RaiseHttpClientError(kErrFileSize, static_cast<std::uint32_t>(part.file.LastError()),
                                     param.value->c_str());
            if (*size != part.size)
                RaiseHttpClientError(kErrFileShortRead);
        }
        Send(FilePartOpening(boundary_, param.name, param.value.value_or(""), part.mimeType));
        progress.filesBegun = CheckedAdd(progress.filesBegun, 1);
        progress.currentFile = param.value;
        progress.currentLength = part.size;
        post.currentFile = &part;
        post.fileUnread = part.size;
        post.bufferAt = post.bufferEnd = 0;
    } else {
        Send(PlainPartOpening(boundary_, param.name));
        progress.currentFile.reset();
        post.content = param.value ? std::string_view(*param.value) : std::string_view{};
        post.currentFile = nullptr;
        progress.currentLength = length32(post.content);
    }
    progress.paramsBegun = CheckedAdd(progress.paramsBegun, 1);
    progress.currentName = param.name;
    progress.currentPosted = 0;
    if (progress.currentLength == 0)
        Send(kPartEnd);
}

void httpformclientA::SendContent(std::uint32_t chunkSize) {
    PostContext& post = *post_;
    postprogressA& progress = post.progress;
    std::uint32_t left = std::min(chunkSize, CheckedSub(progress.currentLength, progress.currentPosted));
    if (post.currentFile == nullptr) {
        Send(post.content.data() + progress.currentPosted, left, true);
    } else {
        if (!post.fileBuffer)
            post.fileBuffer.reset(new char[kFileBufferSize]);
        while (left > 0) {
            if (post.bufferAt == post.bufferEnd) {
                const std::size_t wanted = std::min<std::size_t>(kFileBufferSize, post.fileUnread);
                const std::size_t got = post.currentFile->file.Read(post.fileBuffer.get(), wanted);
                if (post.currentFile->file.LastError() != 0)
                    RaiseHttpClientError(kErrFileRead,
                                         static_cast<std::uint32_t>(post.currentFile->file.LastError()),
                                         nullptr);
                if (got < wanted)
                    RaiseHttpClientError(kErrFileShortRead);
                post.fileUnread -= static_cast<std::uint32_t>(got);
                post.bufferAt = 0;
                post.bufferEnd = got;
            }
            const auto piece =
                static_cast<std::uint32_t>(std::min<std::size_t>(left, post.bufferEnd - post.bufferAt));
            Send(post.fileBuffer.get() + post.bufferAt, piece, true);
            post.bufferAt += piece;
            left -= piece;
        }
    }
    if (post.multipart && progress.CurrentFinished())
        Send(kPartEnd);
}

void httpformclientA::Send(const char* data, std::uint32_t size, bool content) {
    postprogressA& progress = post_->progress;
    const std::uint32_t posted = CheckedAdd(progress.postedBytes, size);
    const std::uint32_t postedContent = content ? CheckedAdd(progress.postedContentBytes, size) : 0;
    const std::uint32_t currentPosted = content ? CheckedAdd(progress.currentPosted, size) : 0;
    post_->transport->Write(data, size);
    progress.postedBytes = posted;
    if (content) {
        progress.postedContentBytes = postedContent;
        progress.currentPosted = currentPosted;
    }
}

std::unique_ptr<httpreplyA> httpformclientA::Finish() {
    std::unique_ptr<Transport> transport = std::move(post_->transport);
    post_.reset();
    transport->EndRequest();
    return std::unique_ptr<httpreplyA>(new httpreplyA(std::move(transport)));
}

}  // namespace Tarvo
