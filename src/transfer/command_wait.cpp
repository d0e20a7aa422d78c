#include "transfer/command_wait.h"

RequestState runCommand(ServerRequest& request, BusyFlag& busy, const CommandCall& call,
                        std::chrono::milliseconds interval, const std::function<void()>& betweenLooks) {
    if (busy.isSet())
        return RequestState::Failed;
    BusyScope scope(busy);
    // A refused Prepare (the request was not Reset by its last user) makes Start settle NotPrepared, which
    // is final, so the wait below still ends.
    request.Prepare(call.a, call.b, call.c);
    request.Start(call.command);
    RequestState state = request.State();
    while (!isFinal(state)) {
        state = request.AwaitFinal(interval);
        if (betweenLooks)
            betweenLooks();
        state = request.State();
    }
    request.Reset();
    return state;
}
