#include "labserver/lab_server.h"

#include <httplib.h>
#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <array>
#include <csignal>
#include <fstream>
#include <mutex>
#include <thread>

#include "buildinfo/build_constants.h"
#include "labserver/commands.h"
#include "labserver/order_store.h"
#include "labserver/pages.h"
#include "labserver/request_form.h"

namespace labserver {

namespace fs = std::filesystem;

namespace {

constexpr const char* kReplyType = "text/plain; charset=windows-1250";
constexpr const char* kFileType = "application/octet-stream";
constexpr const char* kPageType = "text/html; charset=utf-8";

// What the handler of the request on this thread did, for its log line; the logger runs on the same
// thread right after the reply is written.
thread_local std::string requestNote;

// A server whose listening socket can be closed at any moment, also before its accept loop has
// started, so that stopping never depends on timing. `Base` is the plain or the TLS server.
class Closable {
  public:
    virtual ~Closable() = default;
    virtual httplib::Server& server() = 0;
    virtual void closeListeningSocket() = 0;
};

template <class Base>
class ListeningServer : public Base, public Closable {
  public:
    using Base::Base;
    httplib::Server& server() override { return *this; }
    void closeListeningSocket() override {
        const ::socket_t listening = this->svr_sock_.exchange(INVALID_SOCKET);
        if (listening != INVALID_SOCKET) {
#ifdef _WIN32
            ::shutdown(listening, SD_BOTH);
            ::closesocket(listening);
#else
            ::shutdown(listening, SHUT_RDWR);
            ::close(listening);
#endif
        }
    }
};

// The server to run: over TLS when the options name a certificate and key; null with `problem` set
// when they cannot be used.
std::unique_ptr<Closable> makeServer(const LabServerOptions& options, std::string& problem) {
    const bool certificate = !options.certificateFile.empty();
    const bool key = !options.privateKeyFile.empty();
    if (!certificate && !key)
        return std::make_unique<ListeningServer<httplib::Server>>();
    if (!certificate || !key) {
        problem = "a secure server needs both a certificate and its key";
        return nullptr;
    }
#ifdef CPPHTTPLIB_OPENSSL_SUPPORT
    auto secure = std::make_unique<ListeningServer<httplib::SSLServer>>(options.certificateFile.c_str(),
                                                                        options.privateKeyFile.c_str());
    // The library checks that the key belongs to the certificate; an unreadable file leaves it invalid.
    if (!secure->is_valid()) {
        problem = "the certificate " + options.certificateFile.string() + " or the key " +
                  options.privateKeyFile.string() + " cannot be used";
        return nullptr;
    }
    return secure;
#else
    problem = "this build of the server has no TLS";
    return nullptr;
#endif
}

// The library's default also sets SO_REUSEPORT, which would let a second server share a port that is
// in use instead of reporting it busy.
void listeningSocketOptions(::socket_t listening) {
    const int yes = 1;
    ::setsockopt(listening, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
}

void sendFileBody(httplib::Response& response, const fs::path& path) {
    auto file = std::make_shared<std::ifstream>(path, std::ios::binary);
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (!*file || error) {
        response.set_content(std::string(kNotFound), kReplyType);
        requestNote += " (the file could not be opened)";
        return;
    }
    response.set_content_provider(
        static_cast<std::size_t>(size), kFileType,
        [file](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            std::array<char, 64 * 1024> buffer;
            file->seekg(static_cast<std::streamoff>(offset));
            file->read(buffer.data(), static_cast<std::streamsize>(std::min(length, buffer.size())));
            const auto read = file->gcount();
            // A file that shrank while it was served ends the connection instead of a short body.
            return read > 0 && sink.write(buffer.data(), static_cast<std::size_t>(read));
        });
}

void send(httplib::Response& response, Reply&& reply) {
    response.status = reply.status;
    requestNote = std::move(reply.note);
    if (reply.file.empty())
        response.set_content(reply.body, kReplyType);
    else
        sendFileBody(response, reply.file);
}

// A body that could not be read: the library has set the status (413 too large, 400 broken).
void sendUnreadable(httplib::Response& response) {
    if (response.status < 400)
        response.status = 400;
    response.set_content("error: the request body could not be read", kReplyType);
    requestNote = "the request body could not be read";
}

}  // namespace

struct LabServer::Impl {
    explicit Impl(LabServerOptions opts)
        : options(std::move(opts)), commands(DataFolder{options.dataFolder}) {
        if (options.pageVersion.empty())
            options.pageVersion = build::kVersion;
    }

    void routes(httplib::Server& listening);
    void log(const httplib::Request& request, const httplib::Response& response);

    LabServerOptions options;
    Commands commands;
    std::mutex logMutex;

    mutable std::mutex mutex;  // guards what follows
    std::unique_ptr<Closable> server;
    std::thread thread;
    int port = 0;
    std::string problem;
};

// Paths are regular expressions matched against the whole path.
void LabServer::Impl::routes(httplib::Server& listening) {
    const auto post = [this](auto handle) {
        return [this, handle](const httplib::Request& request, httplib::Response& response,
                              const httplib::ContentReader& reader) {
            RequestForm form;
            const auto keep = [this](const RequestForm& sofar) { return commands.keepsUpload(sofar); };
            if (!readForm(request, reader, commands.data().incoming(), kFileField, keep, form))
                return sendUnreadable(response);
            send(response, handle(form));
        };
    };
    listening.Post(R"(/snapord2/standalone\.php)",
                   post([this](RequestForm& form) { return commands.standalone(form); }));
    listening.Post(R"(/snapord2/standfile\.php)",
                   post([this](RequestForm& form) { return commands.standfile(form); }));

    listening.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(homePage(), kPageType);
    });
    listening.Get(R"(/extranet\.php)", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(ordersPage(commands), kPageType);
    });
    listening.Get(R"(/cenik\.php)", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(priceListPage(commands.data(), options.pageVersion), kPageType);
    });
    listening.Get(
        R"(/onlineplatba\.php)", [this](const httplib::Request& request, httplib::Response& response) {
            response.set_content(
                paymentPage(commands, request.get_param_value("obj"), request.get_param_value("type")),
                kPageType);
        });

    listening.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        requestNote.clear();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    listening.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
            response.status = 500;
            response.set_content("error: internal failure", kReplyType);
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                requestNote = std::string("failed: ") + e.what();
            } catch (...) {
                requestNote = "failed";
            }
        });
    listening.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
        log(request, response);
    });
}

void LabServer::Impl::log(const httplib::Request& request, const httplib::Response& response) {
    std::string line = localTimeText() + " " + request.remote_addr + " " + request.method + " " +
                       request.path + " " + std::to_string(response.status);
    if (!requestNote.empty())
        line += " " + requestNote;
    requestNote.clear();
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    }
    std::lock_guard lock(logMutex);
    if (options.log)
        options.log(line);
}

LabServer::LabServer(LabServerOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}

LabServer::~LabServer() {
    stop();
}

bool LabServer::start(int port) {
    std::lock_guard lock(impl_->mutex);
    if (impl_->server) {
        impl_->problem = "the server runs already";
        return false;
    }
    impl_->problem.clear();
    // A client that goes away while its reply is written must not end the process that hosts the
    // server: the write fails instead.
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
    auto server = makeServer(impl_->options, impl_->problem);
    if (!server)
        return false;
    httplib::Server& listening = server->server();
    listening.set_socket_options(listeningSocketOptions);
    listening.set_payload_max_length(static_cast<std::size_t>(impl_->options.maxRequestBytes));
    // One request per connection, as the client makes them; stopping then never waits for an idle
    // connection to time out.
    listening.set_keep_alive_max_count(1);
    impl_->routes(listening);
    const int bound = port == 0 ? listening.bind_to_any_port(impl_->options.host)
                                : (listening.bind_to_port(impl_->options.host, port) ? port : -1);
    if (bound <= 0) {
        impl_->problem = "the port is in use, or the address is not local";
        return false;
    }
    // The socket listens from here on: connections wait in its backlog until the loop accepts them.
    impl_->thread = std::thread([&listening] { listening.listen_after_bind(); });
    impl_->server = std::move(server);
    impl_->port = bound;
    return true;
}

void LabServer::stop() {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->server)
        return;
    impl_->server->closeListeningSocket();
    // The accept loop ends, then waits for the connections it has handed to its workers.
    impl_->thread.join();
    impl_->server.reset();
    impl_->port = 0;
}

bool LabServer::running() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->server != nullptr;
}

int LabServer::port() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->port;
}

std::string LabServer::problem() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->problem;
}

bool LabServer::secure() const {
    return !impl_->options.certificateFile.empty();
}

std::string LabServer::url() const {
    return (secure() ? "https://" : "http://") + impl_->options.host + ":" + std::to_string(port());
}

const fs::path& LabServer::dataFolder() const {
    return impl_->options.dataFolder;
}

std::vector<OrderRecord> LabServer::orders() const {
    return impl_->commands.orders().list();
}

fs::path demoDataFolder() {
    return SNAPORD_LABSERVER_DEMO_DATA;
}

}  // namespace labserver
