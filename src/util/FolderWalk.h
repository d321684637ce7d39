#pragma once

#include "PathStyle.h"

#include <QSet>
#include <QString>
#include <QStringList>

// Listing and loop guard shared by the recursive file searches.
class FolderWalk {
public:
    explicit FolderWalk(const PathStyle& style) : style_(style) {}

    // Marks the folder as entered; false when it is missing or the same real
    // folder was entered before (reached again through a link).
    bool Enter(const QString& folder);
    // Names of the folder's files (hidden ones too) that match mask, in name
    // order.
    QStringList FileNames(const QString& folder, const QString& mask) const;
    // Names of the folder's sub-folders that are not hidden, in name order.
    QStringList FolderNames(const QString& folder) const;
    const PathStyle& Style() const { return style_; }

private:
    void SortNames(QStringList& names) const;
    PathStyle style_;
    QSet<QString> entered_;
};
