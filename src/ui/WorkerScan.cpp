#include "ui/WorkerScan.h"

#include "site/ScanWindow.h"
#include "site/SiteLists.h"
#include "ui/WindowThreadPrompts.h"
#include "ui/WorkerRun.h"

#include <QCoreApplication>
#include <QThread>

namespace {

// The progress window driven from the worker: each call is posted to the
// window thread behind the boxes and lists posted before it, and the scan
// goes on without waiting for the pane to draw.
class QueuedScanWindow : public ScanWindow {
public:
    explicit QueuedScanWindow(ScanWindow& window) : window_(window) {}
    void StartScan(const QString& caption) override
    {
        Post([this, caption] { window_.StartScan(caption); });
    }
    void AddLine(const QString& line) override
    {
        Post([this, line] { window_.AddLine(line); });
    }
    void EndScan() override
    {
        Post([this] { window_.EndScan(); });
    }

private:
    void Post(std::function<void()> call)
    {
        QCoreApplication* app = QCoreApplication::instance();
        if (QThread::currentThread() == app->thread())
            call();
        else
            QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
    }

    ScanWindow& window_;
};

constexpr TSiteLists::Part Parts[] = {TSiteLists::Part::Files, TSiteLists::Part::LocalFiles,
                                      TSiteLists::Part::LocalFolders, TSiteLists::Part::BrokenLinks};

} // namespace

TScanOutcome ScanOnWorker(const TSiteScanContext& window,
                          const std::function<TScanOutcome(const TSiteScanContext&)>& scan)
{
    if (WorkerRunning())
        return scan(window);
    TSiteLists& shown = window.Lists;
    TSiteLists own(shown.Style());
    for (TSiteLists::Part part : Parts)
        own.CopyFrom(shown, part);

    // Direct: the worker waits until the window's lists show the change.
    const auto follow = [&own, &shown](TSiteLists::Part part) {
        return [&own, &shown, part] { OnWindowThread([&] { shown.CopyFrom(own, part); }); };
    };
    QObject::connect(&own, &TSiteLists::FilesChanged, &own, follow(TSiteLists::Part::Files),
                     Qt::DirectConnection);
    QObject::connect(&own, &TSiteLists::LocalFilesChanged, &own, follow(TSiteLists::Part::LocalFiles),
                     Qt::DirectConnection);
    QObject::connect(&own, &TSiteLists::LocalFoldersChanged, &own, follow(TSiteLists::Part::LocalFolders),
                     Qt::DirectConnection);
    QObject::connect(&own, &TSiteLists::BrokenLinksChanged, &own, follow(TSiteLists::Part::BrokenLinks),
                     Qt::DirectConnection);
    QObject::connect(
        &own, &TSiteLists::FileCheckChanged, &own,
        [&shown](int row, bool checked) { OnWindowThread([&] { shown.SetChecked(row, checked); }); },
        Qt::DirectConnection);

    QueuedScanWindow lines(window.Window);
    WindowThreadPrompts prompts(window.prompts);
    TSiteScanContext context{
        own, lines, prompts, window.Store, window.Project, window.LocalRoot, window.LocalHome};
    context.PageRelative = window.PageRelative;
    TScanOutcome outcome;
    RunOnWorker([&] { outcome = scan(context); });
    return outcome;
}
