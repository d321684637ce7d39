#pragma once

#include "projects/WorkingState.h"
#include "publish/CertificateTrust.h"
#include "ui/ShellServices.h"

#include <memory>

class TAppData;

// What every action of the window shares: the settings store (null before
// its set-up succeeded and after the close), the working state and the
// services. The pages an action works on are handed to it separately.
struct ActionContext {
    std::unique_ptr<TAppData>& store;
    WorkingState& state;
    ShellServices& services;

    TAppData* Store() const { return store.get(); }
    Prompts& UserPrompts() const { return services.prompts; }
    // What the window's FTP operations give their client: a certificate the
    // system does not trust is shown in a question box with its SHA-256
    // fingerprint, and Yes stores it with the account.
    AskingCertificateDecision CertificateQuestions() const { return {services.prompts, store.get()}; }
};
