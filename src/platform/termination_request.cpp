// Termination request: while one is watched, SIGTERM is noted for the program to act on instead of ending it.
#include "platform/termination_request.h"

#include <csignal>

namespace quillon::platform {

namespace {

volatile std::sig_atomic_t s_requested = 0;  // set by the handler
struct sigaction s_previous {};              // the handler before the watch

extern "C" void note_termination(int) { s_requested = 1; }

}  // namespace

TerminationWatch::TerminationWatch()
{
    s_requested = 0;
    struct sigaction action {};
    action.sa_handler = note_termination;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, &s_previous);
}

TerminationWatch::~TerminationWatch() { sigaction(SIGTERM, &s_previous, nullptr); }

bool TerminationWatch::requested() const { return s_requested != 0; }

}  // namespace quillon::platform
