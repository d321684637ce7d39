// tarnwell-cli upload: the site upload of a saved project without a window.
// The site is scanned first with the saved selection, as loading the
// project in the window does; the log goes to standard output and the
// upload stamps are saved once the run has ended.
#include "CliCertificateDecision.h"
#include "CliPrompts.h"
#include "Commands.h"
#include "ConsoleHost.h"
#include "ProjectSettings.h"
#include "projects/OperationContext.h"

#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"
#include "publish/SiteUpload.h"
#include "publish/UploadPreview.h"
#include "settings/ApplicationDataAPI.h"
#include "site/ScanWindow.h"
#include "site/SiteLists.h"
#include "site/SiteScan.h"

namespace {

struct UploadArguments {
    QString Project;
    UploadMode Mode = UploadMode::Changed;
    bool HaveMode = false;
    bool Yes = false;
    bool IgnoreBrokenLinks = false;
    bool DryRun = false;
    QString TrustFingerprint;
};

// Empty when the arguments are sound, else what is wrong with them.
QString Parse(const QStringList& arguments, UploadArguments& parsed)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--yes")) {
            parsed.Yes = true;
        } else if (arg == QLatin1String("--dry-run")) {
            parsed.DryRun = true;
        } else if (arg == QLatin1String("--ignore-broken-links")) {
            parsed.IgnoreBrokenLinks = true;
        } else if (arg == QLatin1String("--mode")) {
            const QString mode = i + 1 < arguments.size() ? arguments[++i] : QString();
            if (mode == QLatin1String("updated"))
                parsed.Mode = UploadMode::Changed;
            else if (mode == QLatin1String("all"))
                parsed.Mode = UploadMode::AllChecked;
            else if (mode == QLatin1String("entire"))
                parsed.Mode = UploadMode::EntireSite;
            else
                return QStringLiteral("--mode takes updated, all or entire");
            parsed.HaveMode = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option ") + arg;
        } else if (!parsed.Project.isEmpty()) {
            return QStringLiteral("one project only");
        } else {
            parsed.Project = arg;
        }
    }
    if (parsed.Project.isEmpty())
        return QStringLiteral("give a project");
    if (!parsed.HaveMode)
        return QStringLiteral("give --mode updated, all or entire");
    return QString();
}

// --ignore-broken-links is the answer to the broken-links question; every
// other question goes to the terminal (or to --yes).
class UploadPrompts : public Prompts {
public:
    UploadPrompts(Prompts& terminal, bool ignoreBrokenLinks)
        : terminal_(terminal), ignoreBrokenLinks_(ignoreBrokenLinks)
    {
    }
    void ShowInfo(const QString& caption, const QString& text) override { terminal_.ShowInfo(caption, text); }
    int AskQuestion(const QString& caption, const QString& text, int buttons) override
    {
        if (text == BrokenLinksQuestion && ignoreBrokenLinks_)
            return IDYES;
        return terminal_.AskQuestion(caption, text, buttons);
    }

private:
    Prompts& terminal_;
    bool ignoreBrokenLinks_;
};

int ExitCodeOf(const SiteUploadOutcome& outcome)
{
    switch (outcome.Stop) {
    case UploadStop::Ran:
        break;
    case UploadStop::NotConfirmed:
    case UploadStop::BrokenLinks:
        PrintError(QStringLiteral("tarnwell-cli: the upload was refused; nothing was sent"));
        return ExitUsage;
    default:
        // The reason went to standard error as the window's box.
        return ExitFailed;
    }
    if (outcome.Cancelled) {
        PrintError(QStringLiteral("tarnwell-cli: the upload was cancelled"));
        return ExitFailed;
    }
    if (!outcome.FailedAccounts.isEmpty()) {
        PrintError(QStringLiteral("tarnwell-cli: the upload did not complete for: ") +
                   outcome.FailedAccounts.join(QStringLiteral(", ")));
        return ExitFailed;
    }
    return ExitOk;
}

// --dry-run: what the upload would send, from the same scan; no server is
// reached and the settings file is left as it was.
int RunPreview(const UploadArguments& parsed, const TProjectFields& fields, const TSiteLists& lists,
               const TAppData& store)
{
    if (!lists.BrokenLinks().isEmpty())
        PrintError(QStringLiteral("tarnwell-cli: the site of \"") + parsed.Project +
                   QStringLiteral("\" has broken links; the upload will ask about them"));
    CliPrompts terminal(parsed.Yes);
    WorkingState state;
    ConsoleHost host;
    const SiteUploadInputs inputs{parsed.Mode, parsed.Project, fields.LocalRoot, fields.LocalHome,
                                  fields.Sites};
    const UploadPreview preview = PreviewUpload(inputs, lists, store, state, host, terminal);
    host.Finish();
    return preview.Stop == UploadStop::Ran ? ExitOk : ExitFailed;
}

} // namespace

int RunUpload(const QStringList& arguments)
{
    const CliCommand& command = CommandNamed(QStringLiteral("upload"));
    UploadArguments parsed;
    QStringList rest = arguments;
    QString problem = TakeTrustFingerprint(rest, parsed.TrustFingerprint);
    if (problem.isEmpty())
        problem = Parse(rest, parsed);
    if (!problem.isEmpty())
        return UsageError(command, problem);

    CliPrompts terminal(parsed.Yes);
    CliSettings settings;
    // A preview writes nothing, so it may run beside the window.
    const int opened = OpenProjectSettings(parsed.Project, terminal, !parsed.DryRun, settings);
    if (opened != ExitOk)
        return opened;
    TAppData& store = *settings.store;
    CliCertificateDecision certs(terminal, settings.store.get(), parsed.TrustFingerprint);
    const TProjectFields fields = LoadProject(store, parsed.Project);

    TSiteLists lists;
    SilentScanWindow scanWindow;
    const TScanOutcome scanned =
        ScanSite({lists, scanWindow, terminal, &store, parsed.Project, fields.LocalRoot, fields.LocalHome});
    // Without its folders the site has no files, and "No files need to be
    // sent" would pass for a successful upload.
    if (scanned.MissingFolder != TSiteFolder::None)
        return SiteFolderError(scanned.MissingFolder, parsed.Project, fields.LocalRoot, fields.LocalHome);
    if (parsed.DryRun)
        return RunPreview(parsed, fields, lists, store);
    // The No to the window's broken-links question: refused, like a No to "Go ahead?".
    if (!lists.BrokenLinks().isEmpty() && !parsed.IgnoreBrokenLinks) {
        PrintError(QStringLiteral("tarnwell-cli: the site of \"") + parsed.Project +
                   QStringLiteral("\" has broken links (tarnwell-cli scan lists them); fix them or pass "
                                  "--ignore-broken-links"));
        return ExitUsage;
    }

    UploadPrompts prompts(terminal, parsed.IgnoreBrokenLinks);
    WorkingState state;
    ConsoleHost host;
    const SiteUploadInputs inputs{parsed.Mode, parsed.Project, fields.LocalRoot, fields.LocalHome,
                                  fields.Sites};
    const SiteUploadOutcome outcome =
        DoUpload(inputs, lists, {&store, state, host, prompts, &certs}, SiteUploadWindow());
    host.Finish();
    // The stamps of the accounts that were served, and a certificate trusted
    // with --trust-fingerprint.
    store.Save();
    return ExitCodeOf(outcome);
}
