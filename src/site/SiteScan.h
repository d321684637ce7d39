#pragma once

#include <QString>
#include <QStringList>

class Prompts;
class ScanWindow;
class TAppData;
class TSiteLists;

// What one scan works with: the site lists, the progress window, the boxes,
// the settings store that keeps the saved selection ("LFLS"), and the texts
// of lblEditingProject, lbeLocalRoot and lbeLocalHome as they stand.
struct TSiteScanContext {
    TSiteLists& Lists;
    ScanWindow& Window;
    Prompts& prompts;
    // Null: no selection is read or stored (a scan of any folder).
    TAppData* Store;
    QString Project;
    QString LocalRoot;
    QString LocalHome;
    // "Links relative to their page" (see TLinkFolders) for a scan without
    // a project; a project's scan follows the option stored with it.
    bool PageRelative = false;
};

// A folder of the site that the scan could not work from.
enum class TSiteFolder { None, LocalRoot, LocalHome };

// What the window does after a scan.
struct TScanOutcome {
    // The analysis ran: the lists were rebuilt.
    bool Scanned = false;
    // The window runs ShowBrokenLinkState now, with BrokenLinks.
    bool ShowBrokenLinkState = false;
    // lbxBrokenLinks holds entries: show pnlBrokenFound and bring the
    // Broken Links page to the front; else show pnlBrokenNotFound.
    bool BrokenLinks = false;
    // Selected files that could not be read (already reported in a box).
    QStringList UnreadableFiles;
    // The first of Local Root and Local Home that is empty or names no
    // folder: the lists then show less than the site. The window has said so
    // for Local Home only (its box); the command line refuses to go on.
    TSiteFolder MissingFolder = TSiteFolder::None;
};

// "Scan Files": stores the selection and scans; does nothing without a
// Local Root. Clears selectionChanged when it scanned.
TScanOutcome UpdateFilesAndFolders(const TSiteScanContext& context, bool& selectionChanged);

// "Re-Scan" (and the end of a site import, afterImport = true, which runs a
// full Scan Files first): stores the selection even without a Local Root,
// scans, and always asks for ShowBrokenLinkState. Clears selectionChanged.
TScanOutcome doReScan(const TSiteScanContext& context, bool afterImport, bool& selectionChanged);

// Stores the checked items of clbxFiles as the project's "LFLS" list.
// Nothing is stored without a store or a loaded project.
void SaveFileSelection(TAppData* store, const QString& project, const TSiteLists& lists);

// The scan: lists the files under Local Root, restores the saved selection,
// checks the index page and follows the links (AnalyseFiles). Without a
// Local Root nothing happens and the window is not shown.
TScanOutcome ScanSite(const TSiteScanContext& context);

// Appends the files under Local Root that clbxFiles does not list yet,
// unchecked, and checks the home folder's index page.
void ListLocalFiles(const TSiteScanContext& context);

// Everything after the saved selection is restored: checks the home
// folder, rebuilds lbxLocalFiles, lbxBrokenLinks and lbxLocalFolders from
// the checked files and their links, checks every file reached, closes the
// window and reports files that could not be read.
TScanOutcome AnalyseFiles(const TSiteScanContext& context);
