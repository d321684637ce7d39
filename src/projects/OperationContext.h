#pragma once

class CertificateDecision;
class Clock;
class OperationHost;
class Prompts;
class TAppData;
struct WorkingState;

// What a long operation (build, uploads, import) works with: the settings
// store, the working state, the host that shows its log and bars and holds
// the cancel flag, the message boxes, who decides on a server certificate
// the system does not trust, and the clock. The window makes one for each
// operation; the command line and the tests make their own.
struct OperationContext {
    // Null for an operation that reads no settings (the build).
    TAppData* store;
    WorkingState& state;
    OperationHost& host;
    Prompts& prompts;
    // None: every certificate the system does not trust is refused.
    CertificateDecision* certificates = nullptr;
    // "Now" for the ages of the files an upload sends; none: the computer's.
    const Clock* clock = nullptr;

    // The store; throws TarnwellError when the operation was given none.
    TAppData& Store() const;
};
