// Termination request: while one is watched, SIGTERM is noted for the program to act on instead of ending it.
#pragma once

namespace quillon::platform {

// Installs the handler for its lifetime and puts the previous one back afterwards. One at a time.
class TerminationWatch {
public:
    TerminationWatch();
    ~TerminationWatch();
    TerminationWatch(const TerminationWatch&) = delete;
    TerminationWatch& operator=(const TerminationWatch&) = delete;

    // SIGTERM arrived since the watch began.
    bool requested() const;
};

}  // namespace quillon::platform
