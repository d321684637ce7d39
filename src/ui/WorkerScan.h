#pragma once

#include "site/SiteScan.h"

#include <functional>

// Runs one site scan (Scan Files, Re-Scan, the scan of a loaded project) on
// the worker thread, so the window keeps repainting meanwhile. The scan
// works on lists of its own, copied from window.Lists; each list it changes
// is handed to window.Lists on the window thread as the scan signals it, so
// the widgets show the same steps as before and every box comes after what
// the scan has shown. The progress window's lines are shown on the window
// thread in order, and its boxes are asked there.
// Asked while another operation runs (the upload's re-scan, which waits on
// the window thread), the scan runs here on the window's lists.
TScanOutcome ScanOnWorker(const TSiteScanContext& window,
                          const std::function<TScanOutcome(const TSiteScanContext&)>& scan);
