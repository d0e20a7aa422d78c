// The worker thread's side of the server request: the command procedures and the exchange they share.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "app/state_files.h"
#include "buildinfo/build_constants.h"
#include "http/form_client.h"
#include "platform/files.h"
#include "platform/fs_names.h"
#include "transfer/server_replies.h"
#include "transfer/server_request.h"

namespace {

constexpr std::string_view kStandalone = "/snapord2/standalone.php";
constexpr std::string_view kStandfile = "/snapord2/standfile.php";

// The reply body is read in pieces of this size.
constexpr std::uint32_t kReadPiece = 10239;
// A download at most this long may be a reply ("notfound", "badlogin") instead of the file.
constexpr std::size_t kDownloadReplyLimit = 16;

std::string userAgent() {
    return "Snapord ver." + std::string(build::kVersion);
}

std::optional<std::string> fileSystemName(std::string_view path) {
    const auto name = platform::toFsPath(path);
    if (!name)
        return std::nullopt;
#ifdef _WIN32
    // The narrow form of a Windows path is in the ANSI code page, which may lack the name's letters.
    const auto utf8 = name->u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return name->string();
#endif
}

bool successStatus(std::uint32_t status) {
    return status >= 200 && status <= 299;
}

std::int32_t percentOf(std::uint32_t posted, std::uint32_t total) {
    if (total == 0)
        return 0;
    return static_cast<std::int32_t>(static_cast<double>(posted) / static_cast<double>(total) * 100.0);
}

// The reply body as text, at most ServerRequest::kReplyTextLimit bytes of it.
std::string readReplyText(Tarvo::httpreplyA& reply) {
    std::string text;
    std::vector<char> piece(kReadPiece);
    while (const std::uint32_t got = reply.ReadContent(piece.data(), kReadPiece)) {
        const std::size_t room = ServerRequest::kReplyTextLimit - text.size();
        text.append(piece.data(), std::min<std::size_t>(got, room));
        if (got >= room)
            break;
    }
    return text;
}

RequestState readUploadReply(Tarvo::httpreplyA& reply) {
    return uploadReplyState(readReplyText(reply));
}

// The local file of a download, written as the body arrives.
class DownloadFile {
  public:
    explicit DownloadFile(std::string_view path) : file_(platform::openFile(path, "wb")) {}
    ~DownloadFile() { close(); }
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    bool opened() const { return file_ != nullptr; }
    bool write(const char* data, std::size_t size) { return std::fwrite(data, 1, size, file_) == size; }
    // True when the file was opened and everything reached it.
    bool close() {
        if (file_ == nullptr)
            return false;
        // The flush comes first and on its own: Windows' C library closes a stream whose last bytes
        // could not be written (a full disk) without saying so.
        const bool flushed = std::fflush(file_) == 0 && std::ferror(file_) == 0;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        return flushed && closed;
    }

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace

// One form field of a command; `flags` Tarvo::ParamFile for the uploaded file.
struct ServerRequest::Post {
    struct Field {
        std::string_view name;
        std::string_view value;
        std::uint32_t flags = 0;
    };

    std::string_view endpoint;
    bool multipart = false;
    std::vector<Field> fields;  // besides "login" and "pass"
};

void ServerRequest::Execute(Channel& channel, std::shared_ptr<const Channel> previous,
                            const CommandInput& input) {
    // The end is marked however the worker leaves, so that the next command's worker never waits for
    // a worker that has gone.
    struct EndMark {
        Channel& channel;
        ~EndMark() { channel.MarkEnded(); }
    } endMark{channel};

    // One command at a time meets the server: the worker before this one was asked to stop when its
    // command was left behind, and ends within one slice.
    if (previous && !previous->AwaitEnd(channel)) {
        channel.Publish(RequestState::Prepared, RequestState::Cancelled);
        return;
    }
    previous.reset();
    RequestState found = RequestState::Prepared;
    if (!channel.state.compare_exchange_strong(found, RequestState::Running, std::memory_order_acq_rel)) {
        // Reset between Start and this point took the prepared request away; nobody waits for it.
        return;
    }
    channel.StoreProgress(0, 0);
    RequestState result = RequestState::Failed;
    try {
        switch (input.command) {
            case ServerCommand::SendFile:
                result = SendFile(channel, input);
                break;
            case ServerCommand::OnlyCopy:
                result = OnlyCopy(channel, input);
                break;
            case ServerCommand::TransEnd:
                result = TransEnd(channel, input);
                break;
            case ServerCommand::GetFile:
                result = GetFile(channel, input);
                break;
            case ServerCommand::GetPrice:
                result = GetPrice(channel, input);
                break;
            case ServerCommand::GetValidity:
                result = GetValidity(channel, input);
                break;
        }
    } catch (const std::exception&) {
        // Out of memory outside the exchange; the command fails like any other failure.
        result = RequestState::Failed;
    }
    channel.Publish(RequestState::Running, result);
}

RequestState ServerRequest::SendFile(Channel& channel, const CommandInput& input) {
    // A file that cannot be read would go out as an empty part, and the server would store an empty
    // photograph and answer "OK".
    if (!platform::canOpenForReading(input.argA))
        return RequestState::Failed;
    const Post post{
        kStandalone,
        true,
        {{"targetfile", input.argB}, {"targetdir", input.argC}, {"sendfile", input.argA, Tarvo::ParamFile}}};
    return Exchange(channel, input, post, readUploadReply);
}

RequestState ServerRequest::OnlyCopy(Channel& channel, const CommandInput& input) {
    const Post post{kStandalone,
                    false,
                    {{"targetfile", input.argB}, {"targetdir", input.argC}, {"onlycopy", input.argA}}};
    return Exchange(channel, input, post, readUploadReply);
}

RequestState ServerRequest::TransEnd(Channel& channel, const CommandInput& input) {
    const Post post{kStandalone, false, {{"targetfile", input.argB}, {"transend", input.argC}}};
    return Exchange(channel, input, post, readUploadReply);
}

RequestState ServerRequest::GetFile(Channel& channel, const CommandInput& input) {
    const Post post{input.anonymousDownload ? kStandfile : kStandalone, false, {{"getfile", input.argB}}};
    const RequestState state = Exchange(channel, input, post, [&input](Tarvo::httpreplyA& reply) {
        DownloadFile file(input.argA);
        if (!file.opened())
            return RequestState::Failed;
        std::string head;  // the first bytes, enough to recognise a reply
        bool longer = false;
        std::vector<char> piece(kReadPiece);
        while (const std::uint32_t got = reply.ReadContent(piece.data(), kReadPiece)) {
            if (!file.write(piece.data(), got))
                return RequestState::Failed;
            const std::size_t room = kDownloadReplyLimit - head.size();
            head.append(piece.data(), std::min<std::size_t>(got, room));
            longer = longer || got > room;
        }
        if (!file.close())
            return RequestState::Failed;
        return longer ? RequestState::Ok : downloadReplyState(head);
    });
    // Only a complete download is left on the disk: neither a refusal, nor a part, nor an error page
    // may stand in for the file the caller asked for.
    if (state != RequestState::Ok)
        platform::removeFile(input.argA);
    return state;
}

RequestState ServerRequest::GetPrice(Channel& channel, const CommandInput& input) {
    channel.SetPrice({});
    const Post post{
        kStandalone, false, {{"getprice", input.argA}, {"objID", input.argB}, {"usrID", input.argC}}};
    return Exchange(channel, input, post, [&channel](Tarvo::httpreplyA& reply) {
        PriceReply price = readPriceReply(readReplyText(reply));
        if (price.state == RequestState::Ok)
            channel.SetPrice(std::move(price.price));
        return price.state;
    });
}

RequestState ServerRequest::GetValidity(Channel& channel, const CommandInput& input) {
    channel.SetMessage({});
    const Post post{
        kStandalone, false, {{"getvalidity", input.argA}, {"objID", input.argB}, {"usrID", input.argC}}};
    return Exchange(channel, input, post, [&channel](Tarvo::httpreplyA& reply) {
        const std::string text = readReplyText(reply);
        // A copy of the answer for whoever wants to read it; not being able to write it changes nothing.
        platform::writeFileAtomically(state_files::kValidity, text);
        ValidityReply validity = readValidityReply(text);
        channel.SetMessage(std::move(validity.message));
        return validity.state;
    });
}

RequestState ServerRequest::Exchange(Channel& channel, const CommandInput& input, const Post& post,
                                     const std::function<RequestState(Tarvo::httpreplyA&)>& read) {
    try {
        Tarvo::httpformclientA client;
        client.SetSessionOptions(userAgent(), Tarvo::kAccessPreconfig, std::nullopt, std::nullopt, 0);
        client.SetTimeLimits(input.limits);
        client.SetFileNameMapper(fileSystemName);
        // Every wait on the server, inside a step or reading the reply, looks at the cancel flag too.
        client.SetAbortCheck([&channel] { return channel.StopAsked(); });
        client.AddParam("login", input.login);
        client.AddParam("pass", input.password);
        for (const Post::Field& field : post.fields)
            client.AddParam(field.name, field.value, field.flags);

        const std::string url = input.serverUrl + std::string(post.endpoint);
        if (post.multipart)
            client.BeginMultipartPost(url, false);
        else
            client.BeginFormPost(url, false);

        std::unique_ptr<Tarvo::httpreplyA> reply;
        while (!reply) {
            Tarvo::postprogressA progress;
            client.QueryProgress(progress);
            channel.StoreProgress(progress.postedBytes, progress.totalBytes);
            if (input.stepObserver && !channel.StopAsked())
                input.stepObserver();
            if (channel.StopAsked()) {
                client.CancelPost();
                return RequestState::Cancelled;
            }
            reply = client.ProceedPost(kStepSize);
        }
        // An error page (of the server or of a proxy on the way) is no answer to the command.
        if (!successStatus(reply->StatusCode()))
            return RequestState::Failed;
        return read(*reply);
    } catch (const std::exception&) {
        // Every failure of the HTTP client arrives here as its exception: no connection, a refused one,
        // a broken or stalled exchange, and a wait that the cancel flag stopped.
        return channel.StopAsked() ? RequestState::Cancelled : RequestState::Failed;
    }
}

void ServerRequest::Channel::StoreProgress(std::uint32_t postedBytes, std::uint32_t totalBytes) {
    total.store(totalBytes, std::memory_order_relaxed);
    posted.store(postedBytes, std::memory_order_relaxed);
    percent.store(percentOf(postedBytes, totalBytes), std::memory_order_relaxed);
}
