// lab_probe: asks a lab server for a fresh order ("getfile" of "params") the way the client does, and
// prints the final state and the reply; for checking a lab's address and certificate by hand.
//   transfer_lab_probe <base address, e.g. https://127.0.0.1:8443> [login] [password]
// The certificate authorities are those of the client: the system's, or the file named by
// SNAPORD_CA_FILE. Exits 0 when the command ended Ok.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "transfer/server_request.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: transfer_lab_probe <base address> [login] [password]\n");
        return 2;
    }
    static constexpr const char* kNames[] = {"Idle",    "Prepared", "NotPrepared", "Running",  "Ok",
                                             "Warning", "Failed",   "NotFound",    "BadLogin", "Cancelled"};
    ServerRequest request;
    request.SetServerUrl(argv[1]);
    request.SetCredentials(argc > 2 ? argv[2] : "demo", argc > 3 ? argv[3] : "demo");
    const std::string local = "lab_probe_params.sno";
    request.Prepare(local, "params", "");
    request.Start(ServerCommand::GetFile);
    RequestState state = request.State();
    while (!isFinal(state))
        state = request.AwaitFinal(std::chrono::milliseconds(200));
    std::ifstream in(local, std::ios::binary);
    const std::string reply(std::istreambuf_iterator<char>(in), {});
    std::remove(local.c_str());
    std::printf("%s%s%s\n", kNames[static_cast<int>(state)], reply.empty() ? "" : ": ", reply.c_str());
    return state == RequestState::Ok ? 0 : 1;
}
