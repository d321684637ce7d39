#pragma once

#include "site/BrokenLinkList.h"
#include "util/PathStyle.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

// The four site lists of the loaded project, the one copy the window's list
// widgets show and the uploads read:
//   clbxFiles       every local file found or reached, each with its check
//   lbxLocalFiles   the selected files and everything they reach, in order
//   lbxLocalFolders the folder of each selected file, once each
//   lbxBrokenLinks  two items per dead link: the file, then the detail
// Look-ups of a path follow the path style: case-blind for Windows paths,
// exact for POSIX paths.
//
// Every change emits the signal of the list it touched. Inside an update
// batch (UpdateBatch) the signals are held back and each touched list
// signals once when the outermost batch ends, so a scan of thousands of
// files redraws each widget once.
class TSiteLists : public QObject {
    Q_OBJECT

public:
    explicit TSiteLists(const PathStyle& style = PathStyle::Native(), QObject* parent = nullptr);

    const PathStyle& Style() const { return style_; }

    // clbxFiles
    int FileCount() const { return int(files_.size()); }
    const QStringList& Files() const { return files_; }
    QString File(int row) const { return files_.value(row); }
    bool Checked(int row) const { return checks_.value(row, false); }
    QStringList CheckedFiles() const;
    // Row of the path, or -1.
    int FindFile(const QString& path) const;
    // Appends the path (even when listed already: the caller decides).
    int AppendFile(const QString& path, bool checked);
    void SetChecked(int row, bool checked);
    // Tells the widgets the row's check again, as after a refused click
    // that the widget had already drawn.
    void ShowCheck(int row);

    // lbxLocalFiles
    const QStringList& LocalFiles() const { return localFiles_; }
    bool HoldsLocalFile(const QString& path) const;
    // Appends the path unless it is listed; returns whether it was added.
    bool AddLocalFile(const QString& path);
    void ClearLocalFiles();

    // lbxLocalFolders
    const QStringList& LocalFolders() const { return localFolders_; }
    bool AddLocalFolder(const QString& folder);
    void ClearLocalFolders();

    // lbxBrokenLinks: file item, detail item, file item, ...
    const TBrokenLinkList& BrokenLinks() const { return brokenLinks_; }
    void AddBrokenLink(const QString& fileItem, const QString& detailItem);
    void ClearBrokenLinks();
    // Drops the links whose detail item the test accepts.
    void RemoveBrokenLinksIf(const std::function<bool(const QString& detail)>& test);

    // One of the four lists, with the checks for clbxFiles.
    enum class Part { Files, LocalFiles, LocalFolders, BrokenLinks };
    // Takes that list over from other, as it stands, and signals it changed.
    void CopyFrom(const TSiteLists& other, Part part);

    // Empties all four lists (a project is selected or deleted, an import
    // starts); on the lists' own thread, whichever thread calls.
    void Clear();

    // Holds the change signals back while it lives.
    class UpdateBatch {
    public:
        explicit UpdateBatch(TSiteLists& lists);
        ~UpdateBatch();
        UpdateBatch(const UpdateBatch&) = delete;
        UpdateBatch& operator=(const UpdateBatch&) = delete;

    private:
        TSiteLists& lists_;
    };

signals:
    // Items of clbxFiles were added or removed, or several checks changed.
    void FilesChanged();
    // One check of clbxFiles changed outside a batch.
    void FileCheckChanged(int row, bool checked);
    void LocalFilesChanged();
    void LocalFoldersChanged();
    void BrokenLinksChanged();

private:
    enum Dirty { DirtyFiles = 1, DirtyLocalFiles = 2, DirtyFolders = 4, DirtyBroken = 8 };
    void Touch(int what);
    void EndBatch();

    PathStyle style_;
    QStringList files_;
    QList<bool> checks_;
    QHash<QString, int> fileRows_; // lookup key -> first row
    QStringList localFiles_;
    QSet<QString> localFileKeys_;
    QStringList localFolders_;
    QSet<QString> localFolderKeys_;
    TBrokenLinkList brokenLinks_;
    int batchDepth_ = 0;
    int dirty_ = 0;
};
