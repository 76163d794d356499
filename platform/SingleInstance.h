#pragma once

#include <functional>

namespace platform {

// One program per data directory: two runs on the same settings and list files would overwrite
// each other's changes. The first run claims the directory; a later start with it asks that run
// to bring its window back and ends.
class SingleInstance {
public:
    enum class Outcome {
        First, // this run owns the directory
        BroughtBack, // another run owns it and has brought its window back
        NoAnswer, // another run owns it but did not answer
    };

    virtual ~SingleInstance() = default;
    // Claims the data directory for this run; when another run holds it, asks that one to
    // bring its window back, waiting at most answerTimeout milliseconds for its answer.
    virtual Outcome Claim(int answerTimeout) = 0;
    // What this run does when a later start asks; a request that came before is carried out now.
    virtual void SetShowRequestHandler(std::function<void()> handler) = 0;
};

} // namespace platform
