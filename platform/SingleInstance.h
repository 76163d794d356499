#pragma once

#include <functional>
#include <string>

namespace platform {

// One program per data directory: two runs on the same settings and list files would overwrite
// each other's changes. The first run claims the directory; a later start with it hands that run
// a request (bring the strip back, or a command) and ends.
class SingleInstance {
public:
    enum class Outcome {
        First, // this run owns the directory
        Answered, // another run owns it and has taken the request
        Refused, // another run owns it but does not know the request
        NoAnswer, // another run owns it but did not answer
    };
    // What this run does with a later start's request, one line of text: true when it carries it
    // out. The later start has its answer once the handler returns, so a handler that opens a
    // window waits until then.
    using RequestHandler = std::function<bool(const std::string& request)>;

    virtual ~SingleInstance() = default;
    // Claims the data directory for this run; when another run holds it, hands that one the
    // request, waiting at most answerTimeout milliseconds for its answer. Needs no application
    // object, so that a later start answers quickly.
    virtual Outcome Claim(int answerTimeout, const std::string& request) = 0;
    // From now on this run takes later starts' requests, which wait until then; needs the
    // application object.
    virtual void TakeRequests(RequestHandler handler) = 0;
};

} // namespace platform
