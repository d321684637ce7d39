#pragma once

#include "PathStyle.h"

#include <QString>
#include <QStringList>

// Listing and loop guard shared by the recursive file searches.
class FolderWalk {
public:
    explicit FolderWalk(const PathStyle& style) : style_(style) {}

    // Marks the folder as entered; false when it is missing or the same real
    // folder is one being walked already (a link back to an ancestor, which
    // would loop). A folder reached by another path is entered again, so it
    // is listed under every path that reaches it. Each true is paired with
    // a Leave once the folder is done.
    bool Enter(const QString& folder);
    void Leave();
    // Names of the folder's files (hidden ones too) that match mask, in name
    // order.
    QStringList FileNames(const QString& folder, const QString& mask) const;
    // Names of the folder's sub-folders that are not hidden, in name order.
    QStringList FolderNames(const QString& folder) const;
    const PathStyle& Style() const { return style_; }

private:
    void SortNames(QStringList& names) const;
    PathStyle style_;
    // Real paths of the folders on the current path, root first.
    QStringList path_;
};
