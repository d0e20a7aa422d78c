// ServerRequest: the one request to the lab's server, shared by the user-interface thread and the
// worker thread of the command under way.
//
// One command, from the user-interface thread:
//   SetCredentials(login, password)    once for a series of commands
//   Prepare(a, b, c)                   refused (1) unless the state is Idle
//   Start(command)                     the command runs on a worker thread of its own
//   AwaitFinal(interval), repeatedly   between looks the caller updates its display and pumps messages
//   State(), Price(), Message()        once the state is final
//   Reset()                            back to Idle; the next Prepare is accepted
//
// The commands and what the arguments mean:
//
//   command      argA                          argB                     argC
//   SendFile     local path of the file        name on the server       the order's server folder
//   OnlyCopy     server name of an earlier     new name on the server   the order's server folder
//                upload of the same file
//   TransEnd     not sent ("order.sno")        order id                 the order's server folder
//   GetFile      local file to write           server path ("params",   not used
//                                              "2.0.24.3/hlavicka.jpg")
//   GetPrice     client version                order id                 customer id
//   GetValidity  client version                order id                 customer id
//
// Final states: every command ends Ok, BadLogin, Failed or Cancelled; GetFile also NotFound, GetValidity
// also Warning; NotPrepared when the command was started without a prepared request. A final state stays
// until Reset, and while it stays Prepare refuses every new command.
//
// SendFile refuses (Failed, nothing sent) a local file that cannot be read, which would otherwise be
// stored empty on the server. GetFile leaves the local file only when it ends Ok, holding the whole body;
// a reply with an error status, a file that cannot be written completely and every other outcome leave
// no file at argA. GetValidity writes the reply to "validity.txt" in the current folder.
//
// Threads: every member is called on the user-interface thread, and none of them waits for a worker.
// Each command has a channel of its own, shared by the request and the command's worker: the worker
// takes a copy of the arguments, credentials and settings when it starts, and while it runs it writes
// only its channel (the state, the progress numbers and the result texts, the texts before it publishes
// the final state). The worker is detached; it touches nothing but its channel, its input and the files
// of its command, so it may outlive the request. A command left behind (by Reset, or by the end of the
// request) is asked to stop, and a stopped command ends within one slice of the transport's wait
// (Tarvo::kWaitSlice) even when the server has stalled. Its result stays in its own channel and never
// reaches a newer command. A newer command's worker does not send anything until the worker before it
// has ended, so commands still meet the server one at a time.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "http/http_reply.h"
#include "http/transport.h"
#include "transfer/request_state.h"

enum class ServerCommand { SendFile, OnlyCopy, TransEnd, GetFile, GetPrice, GetValidity };

class ServerRequest {
  public:
    static constexpr std::size_t kArgumentLimit = 259;
    static constexpr std::size_t kCredentialLimit = 31;
    // A reply read as text (every reply but a download's) is kept up to this many bytes; the rest is
    // neither read nor looked at.
    static constexpr std::size_t kReplyTextLimit = 10239;
    // Content bytes sent per step of the upload; the cancel flag is looked at before every step, and in
    // every slice of a wait inside a step.
    static constexpr std::uint32_t kStepSize = 1024;

    // Talks to the build's server address, with the HTTP client's default time limits.
    ServerRequest();
    // Asks a command still under way to stop, and returns at once.
    ~ServerRequest();
    ServerRequest(const ServerRequest&) = delete;
    ServerRequest& operator=(const ServerRequest&) = delete;

    // The server's base address, "http://host:port" without a trailing slash; the endpoints
    // "/snapord2/standalone.php" and "/snapord2/standfile.php" are appended to it.
    void SetServerUrl(std::string_view baseUrl);
    const std::string& ServerUrl() const { return serverUrl_; }
    // How long a command waits to connect and without any byte moving before it fails.
    void SetTimeLimits(Tarvo::TimeLimits limits);
    // While set, GetFile asks "/snapord2/standfile.php", which serves the update files to anyone.
    void SetAnonymousDownload(bool anonymous);
    bool AnonymousDownload() const { return anonymousDownload_; }
    // Called on the worker thread before every step of the upload, with the state Running, as long as
    // the command has not been asked to stop; tests use it to act at a known point of an exchange. The
    // worker keeps a copy of it, so whatever it refers to must outlive the commands started with it.
    void SetStepObserver(std::function<void()> observer);

    // Each text cut to kCredentialLimit characters.
    void SetCredentials(std::string_view login, std::string_view password);
    // 0: accepted, the cancel flag cleared, the arguments stored (each cut to kArgumentLimit
    // characters) and the state Prepared. 1: refused with nothing changed, as the state is not Idle.
    int Prepare(std::string_view a, std::string_view b, std::string_view c);
    // Asks the command under way to stop: its upload ends before the next step, and a step waiting on
    // the server ends within one slice of its wait. The command then ends Cancelled.
    void RequestCancel();
    // Back to Idle. Called after the final state has been read. A command still under way when Reset is
    // called is asked to stop, as nobody will hear its result.
    void Reset();

    // Starts `command` on a worker thread of its own and returns at once. The worker takes the prepared
    // request; it begins its exchange when the worker of the previous command has ended (a command
    // stopped or left behind ends within one slice). Without a prepared request no worker starts and the
    // state becomes NotPrepared at once.
    void Start(ServerCommand command);

    // Sleeps until the state is final or `interval` has passed, whichever comes first; returns the
    // state. A finished command wakes the caller at once.
    RequestState AwaitFinal(std::chrono::milliseconds interval) const;

    RequestState State() const { return channel_->state.load(std::memory_order_acquire); }
    // Progress of the running upload: percent 0 to 100, bytes of the request body sent and in all.
    std::int32_t Percent() const { return channel_->percent.load(std::memory_order_relaxed); }
    std::uint32_t Posted() const { return channel_->posted.load(std::memory_order_relaxed); }
    std::uint32_t Total() const { return channel_->total.load(std::memory_order_relaxed); }
    // Results, to be read once the state is final: the price of the last GetPrice that ended Ok; the
    // message of the last GetValidity that ended Warning or Failed on "error".
    std::string Price() const;
    std::string Message() const;

  private:
    // What a worker takes from the request when it is started.
    struct CommandInput {
        ServerCommand command = ServerCommand::SendFile;
        std::string argA;
        std::string argB;
        std::string argC;
        std::string login;
        std::string password;
        std::string serverUrl;
        Tarvo::TimeLimits limits;
        bool anonymousDownload = false;
        std::function<void()> stepObserver;
    };
    struct Post;

    // What one command shares between the request and its worker. The request drops it for a new one at
    // the next Prepare; the worker holds it until it returns.
    struct Channel {
        std::atomic<RequestState> state{RequestState::Idle};
        std::atomic<std::int32_t> cancel{0};
        std::atomic<std::int32_t> percent{0};
        std::atomic<std::uint32_t> posted{0};
        std::atomic<std::uint32_t> total{0};
        // Guards the texts and `ended`; `changed` wakes whoever waits for the final state or the end.
        mutable std::mutex mutex;
        mutable std::condition_variable changed;
        std::string price;
        std::string message;
        bool ended = false;  // the worker has returned

        bool StopAsked() const { return cancel.load(std::memory_order_relaxed) == 1; }
        // Moves the state from `from` to `to` unless someone else changed it meanwhile (a Reset), and
        // wakes the waiting caller.
        void Publish(RequestState from, RequestState to);
        void StoreProgress(std::uint32_t posted, std::uint32_t total);
        void SetPrice(std::string text);
        void SetMessage(std::string text);
        void MarkEnded();
        // Waits until the worker has returned or `stop` asks to give up; true when it has returned.
        bool AwaitEnd(const Channel& stop) const;
    };

    // The worker thread's entry: waits for the previous worker to end, takes the prepared request, runs
    // the command and publishes its state. Touches only `channel`, `previous` and the input.
    static void Execute(Channel& channel, std::shared_ptr<const Channel> previous, const CommandInput& input);

    // The command procedures, on the worker thread; each returns the final state.
    static RequestState SendFile(Channel& channel, const CommandInput& input);
    static RequestState OnlyCopy(Channel& channel, const CommandInput& input);
    static RequestState TransEnd(Channel& channel, const CommandInput& input);
    static RequestState GetFile(Channel& channel, const CommandInput& input);
    static RequestState GetPrice(Channel& channel, const CommandInput& input);
    static RequestState GetValidity(Channel& channel, const CommandInput& input);

    // Posts the login, the password and the command's fields, step by step with progress and the cancel
    // flag, and hands a reply with a success status to `read`. Every failure of the exchange is Failed;
    // an exchange that ends because the cancel flag was raised, before a step or inside one, is
    // Cancelled.
    static RequestState Exchange(Channel& channel, const CommandInput& input, const Post& post,
                                 const std::function<RequestState(Tarvo::httpreplyA&)>& read);

    // Only the user-interface thread touches these; Start copies them for the worker.
    std::string serverUrl_;
    Tarvo::TimeLimits limits_;
    bool anonymousDownload_ = false;
    std::function<void()> stepObserver_;
    std::string login_;
    std::string password_;
    std::string argA_;
    std::string argB_;
    std::string argC_;

    // The current command's channel, and the channel of the last command whose worker was started
    // (the next worker waits for its end).
    std::shared_ptr<Channel> channel_;
    std::shared_ptr<Channel> lastStarted_;
};
