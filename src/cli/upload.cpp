// tarnwell-cli upload: the site upload of a saved project without a window.
// The site is scanned first with the saved selection, as loading the
// project in the window does; the log goes to standard output and the
// upload stamps are saved once the run has ended.
#include "CliCertificateDecision.h"
#include "CliPrompts.h"
#include "CliReport.h"
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

#include <QCommandLineParser>

namespace {

struct UploadArguments {
    QString Project;
    UploadMode Mode = UploadMode::Changed;
    bool Yes = false;
    bool IgnoreBrokenLinks = false;
    bool DryRun = false;
    bool DeleteOrphans = false;
    bool Json = false;
    QString TrustFingerprint;
};

// Empty when the arguments are sound, else what is wrong with them.
QString Parse(const QCommandLineParser& parser, UploadArguments& parsed)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return QStringLiteral("one project only");
    if (positional.isEmpty() || positional.first().isEmpty())
        return QStringLiteral("give a project");
    parsed.Project = positional.first();
    parsed.Yes = parser.isSet(QStringLiteral("yes"));
    parsed.DryRun = parser.isSet(QStringLiteral("dry-run"));
    parsed.IgnoreBrokenLinks = parser.isSet(QStringLiteral("ignore-broken-links"));
    parsed.Json = parser.isSet(QStringLiteral("json"));
    if (!parser.isSet(QStringLiteral("mode")))
        return QStringLiteral("give --mode updated, all or entire");
    const QString mode = parser.value(QStringLiteral("mode"));
    if (mode == QLatin1String("updated"))
        parsed.Mode = UploadMode::Changed;
    else if (mode == QLatin1String("all"))
        parsed.Mode = UploadMode::AllChecked;
    else if (mode == QLatin1String("entire"))
        parsed.Mode = UploadMode::EntireSite;
    else
        return QStringLiteral("--mode takes updated, all or entire");
    parsed.DeleteOrphans = parser.isSet(QStringLiteral("delete-orphans"));
    // Only a run that sends the whole site may judge what the server holds beyond it.
    if (parsed.DeleteOrphans && parsed.Mode != UploadMode::EntireSite)
        return QStringLiteral("--delete-orphans goes with --mode entire only");
    return TakeTrustFingerprint(parser.values(QStringLiteral("trust-fingerprint")), parsed.TrustFingerprint);
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
        return terminal_.AskQuestion(caption, text, buttons);
    }
    int AskAbout(Question kind, const QString& caption, const QString& text, int buttons) override
    {
        if (kind == Question::BrokenLinks && ignoreBrokenLinks_)
            return IDYES;
        return terminal_.AskAbout(kind, caption, text, buttons);
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

// --dry-run: what the upload would send, from the same scan, and the orphans
// each server holds; the servers are only listed and the settings file is
// left as it was. A server that could not be listed fails the preview.
int RunPreview(const UploadArguments& parsed, const TProjectFields& fields, const TSiteLists& lists,
               const TAppData& store, CertificateDecision& certs)
{
    if (!lists.BrokenLinks().isEmpty())
        PrintError(QStringLiteral("tarnwell-cli: the site of \"") + parsed.Project +
                   QStringLiteral("\" has broken links; the upload will ask about them"));
    CliPrompts terminal(parsed.Yes);
    WorkingState state;
    ConsoleHost host(parsed.Json);
    const SiteUploadInputs inputs{parsed.Mode, parsed.Project, fields.LocalRoot, fields.LocalHome,
                                  fields.Sites};
    const UploadPreview preview = PreviewUpload(inputs, lists, store, state, host, terminal, {}, &certs);
    host.Finish();
    if (preview.Stop == UploadStop::Ran && !preview.Complete())
        PrintError(QStringLiteral("tarnwell-cli: the preview could not list every server"));
    return preview.Complete() ? ExitOk : ExitFailed;
}

int Upload(const UploadArguments& parsed, CliReport& report)
{
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
        return RunPreview(parsed, fields, lists, store, certs);
    // The No to the window's broken-links question: refused, like a No to "Go ahead?".
    if (!lists.BrokenLinks().isEmpty() && !parsed.IgnoreBrokenLinks) {
        PrintError(QStringLiteral("tarnwell-cli: the site of \"") + parsed.Project +
                   QStringLiteral("\" has broken links (tarnwell-cli scan lists them); fix them or pass "
                                  "--ignore-broken-links"));
        return ExitUsage;
    }

    UploadPrompts prompts(terminal, parsed.IgnoreBrokenLinks);
    WorkingState state;
    ConsoleHost host(parsed.Json);
    SiteUploadInputs inputs{parsed.Mode, parsed.Project, fields.LocalRoot, fields.LocalHome, fields.Sites};
    inputs.DeleteOrphans = parsed.DeleteOrphans;
    inputs.AccountsAtOnce = DefaultAccountsAtOnce;
    const SiteUploadOutcome outcome =
        DoUpload(inputs, lists, {&store, state, host, prompts, &certs}, SiteUploadWindow());
    host.Finish();
    // The stamps of the accounts that were served, and a certificate trusted
    // with --trust-fingerprint.
    store.Save();
    report.Cancelled = outcome.Cancelled;
    report.Accounts = outcome.Accounts;
    return ExitCodeOf(outcome);
}

} // namespace

int RunUpload(const QCommandLineParser& parser)
{
    UploadArguments parsed;
    if (const QString problem = Parse(parser, parsed); !problem.isEmpty())
        return UsageError(CommandNamed(QStringLiteral("upload")), problem);
    CliReport report(QStringLiteral("upload"), parsed.Project);
    return RunReported(report, parsed.Json, [&] { return Upload(parsed, report); });
}
