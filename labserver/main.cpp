// labserver: the reference lab web server as a program of its own, for the demo run.
//
//   labserver [--port N] [--data DIR] [--host ADDRESS] [--cert FILE --key FILE]
//
// Serves the data folder DIR (default: the demo data of this build) on ADDRESS:N (default
// 127.0.0.1:8080) until it gets SIGINT or SIGTERM, and prints one line per request. With a
// certificate and its key it speaks HTTPS.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "labserver/lab_server.h"

namespace {

constexpr int kDefaultPort = 8080;

void usage(std::FILE* to) {
    std::fprintf(to,
                 "usage: labserver [--port N] [--data DIR] [--host ADDRESS] [--cert FILE --key FILE]\n"
                 "  --port N          port to listen on (default %d; 0: any free port)\n"
                 "  --data DIR        data folder (default: the demo data of this build)\n"
                 "  --host ADDRESS    address to listen on (default 127.0.0.1)\n"
                 "  --cert FILE       serve HTTPS with this certificate (PEM, with any intermediate ones)\n"
                 "  --key FILE        the certificate's private key (PEM, not encrypted)\n",
                 kDefaultPort);
}

bool readPort(std::string_view text, int& port) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    port = std::stoi(std::string(text));
    return port <= 65535;
}

}  // namespace

int main(int argc, char** argv) {
    labserver::LabServerOptions options;
    options.dataFolder = labserver::demoDataFolder();
    int port = kDefaultPort;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--help" || argument == "-h") {
            usage(stdout);
            return 0;
        }
        if (argument == "--port" && hasValue && readPort(argv[i + 1], port)) {
            ++i;
        } else if (argument == "--data" && hasValue) {
            options.dataFolder = argv[++i];
        } else if (argument == "--host" && hasValue) {
            options.host = argv[++i];
        } else if (argument == "--cert" && hasValue) {
            options.certificateFile = argv[++i];
        } else if (argument == "--key" && hasValue) {
            options.privateKeyFile = argv[++i];
        } else {
            std::fprintf(stderr, "labserver: unknown or incomplete argument: %s\n", argv[i]);
            usage(stderr);
            return 2;
        }
    }
    if (options.certificateFile.empty() != options.privateKeyFile.empty()) {
        std::fprintf(stderr, "labserver: --cert and --key go together\n");
        usage(stderr);
        return 2;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(options.dataFolder, error)) {
        std::fprintf(stderr, "labserver: the data folder %s does not exist\n", options.dataFolder.c_str());
        return 1;
    }
    options.log = [](const std::string& line) { std::cout << line << std::endl; };

    // The server's threads inherit this mask, so the signals reach only the sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    labserver::LabServer server(options);
    if (!server.start(port)) {
        std::fprintf(stderr, "labserver: cannot listen on %s:%d (%s)\n", options.host.c_str(), port,
                     server.problem().c_str());
        return 1;
    }
    std::cout << "labserver: listening on " << server.url() << ", data folder " << options.dataFolder.string()
              << std::endl;
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
    std::cout << "labserver: stopped" << std::endl;
    return 0;
}
