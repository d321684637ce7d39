#include "site/SiteLists.h"

#include <QMetaObject>
#include <QThread>

TSiteLists::TSiteLists(const PathStyle& style, QObject* parent) : QObject(parent), style_(style) {}

QStringList TSiteLists::CheckedFiles() const
{
    QStringList checked;
    for (int row = 0; row < files_.size(); ++row) {
        if (checks_[row])
            checked.append(files_[row]);
    }
    return checked;
}

int TSiteLists::FindFile(const QString& path) const
{
    return fileRows_.value(style_.LookupKey(path), -1);
}

int TSiteLists::AppendFile(const QString& path, bool checked)
{
    const int row = int(files_.size());
    files_.append(path);
    checks_.append(checked);
    // Of two rows with the same path, look-ups find the first.
    const QString key = style_.LookupKey(path);
    if (!fileRows_.contains(key))
        fileRows_.insert(key, row);
    Touch(DirtyFiles);
    return row;
}

void TSiteLists::SetChecked(int row, bool checked)
{
    if (row < 0 || row >= checks_.size() || checks_[row] == checked)
        return;
    checks_[row] = checked;
    if (batchDepth_ > 0)
        dirty_ |= DirtyFiles;
    else
        emit FileCheckChanged(row, checked);
}

void TSiteLists::ShowCheck(int row)
{
    if (row < 0 || row >= checks_.size())
        return;
    if (batchDepth_ > 0)
        dirty_ |= DirtyFiles;
    else
        emit FileCheckChanged(row, checks_[row]);
}

bool TSiteLists::HoldsLocalFile(const QString& path) const
{
    return localFileKeys_.contains(style_.LookupKey(path));
}

bool TSiteLists::AddLocalFile(const QString& path)
{
    const QString key = style_.LookupKey(path);
    if (localFileKeys_.contains(key))
        return false;
    localFileKeys_.insert(key);
    localFiles_.append(path);
    Touch(DirtyLocalFiles);
    return true;
}

void TSiteLists::ClearLocalFiles()
{
    localFiles_.clear();
    localFileKeys_.clear();
    Touch(DirtyLocalFiles);
}

bool TSiteLists::AddLocalFolder(const QString& folder)
{
    const QString key = style_.LookupKey(folder);
    if (localFolderKeys_.contains(key))
        return false;
    localFolderKeys_.insert(key);
    localFolders_.append(folder);
    Touch(DirtyFolders);
    return true;
}

void TSiteLists::ClearLocalFolders()
{
    localFolders_.clear();
    localFolderKeys_.clear();
    Touch(DirtyFolders);
}

void TSiteLists::AddBrokenLink(const QString& fileItem, const QString& detailItem)
{
    brokenLinks_.Append(fileItem, detailItem);
    Touch(DirtyBroken);
}

void TSiteLists::ClearBrokenLinks()
{
    brokenLinks_.Clear();
    Touch(DirtyBroken);
}

void TSiteLists::RemoveBrokenLinksIf(const std::function<bool(const QString& detail)>& test)
{
    const qsizetype before = brokenLinks_.Count();
    brokenLinks_.RemoveIf(test);
    if (brokenLinks_.Count() != before)
        Touch(DirtyBroken);
}

void TSiteLists::CopyFrom(const TSiteLists& other, Part part)
{
    // The look-up keys are taken as they are: both lists share one style.
    Q_ASSERT(other.style_.IsWindows() == style_.IsWindows());
    switch (part) {
    case Part::Files:
        files_ = other.files_;
        checks_ = other.checks_;
        fileRows_ = other.fileRows_;
        Touch(DirtyFiles);
        break;
    case Part::LocalFiles:
        localFiles_ = other.localFiles_;
        localFileKeys_ = other.localFileKeys_;
        Touch(DirtyLocalFiles);
        break;
    case Part::LocalFolders:
        localFolders_ = other.localFolders_;
        localFolderKeys_ = other.localFolderKeys_;
        Touch(DirtyFolders);
        break;
    case Part::BrokenLinks:
        brokenLinks_ = other.brokenLinks_;
        Touch(DirtyBroken);
        break;
    }
}

void TSiteLists::Clear()
{
    // An import run on a worker thread empties the lists where the widgets
    // that show them live, and waits for it.
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this] { Clear(); }, Qt::BlockingQueuedConnection);
        return;
    }
    UpdateBatch batch(*this);
    files_.clear();
    checks_.clear();
    fileRows_.clear();
    Touch(DirtyFiles);
    ClearLocalFiles();
    ClearLocalFolders();
    ClearBrokenLinks();
}

void TSiteLists::Touch(int what)
{
    dirty_ |= what;
    if (batchDepth_ == 0)
        EndBatch();
}

void TSiteLists::EndBatch()
{
    const int dirty = dirty_;
    dirty_ = 0;
    if (dirty & DirtyFiles)
        emit FilesChanged();
    if (dirty & DirtyLocalFiles)
        emit LocalFilesChanged();
    if (dirty & DirtyFolders)
        emit LocalFoldersChanged();
    if (dirty & DirtyBroken)
        emit BrokenLinksChanged();
}

TSiteLists::UpdateBatch::UpdateBatch(TSiteLists& lists) : lists_(lists)
{
    ++lists_.batchDepth_;
}

TSiteLists::UpdateBatch::~UpdateBatch()
{
    if (--lists_.batchDepth_ == 0)
        lists_.EndBatch();
}
