#pragma once

#include "TestFolder.h"
#include "site/ScanWindow.h"
#include "site/SiteLists.h"
#include "site/SiteScan.h"
#include "util/PathStyle.h"

#include <QStringList>

// A scan window that remembers what it was told.
class RecordingScanWindow : public ScanWindow {
public:
    void StartScan(const QString& caption) override
    {
        Caption = caption;
        Lines.clear();
        ++Starts;
        Shown = true;
    }
    void AddLine(const QString& line) override { Lines.append(line); }
    void EndScan() override
    {
        ++Ends;
        Shown = false;
    }

    QString Caption;
    QStringList Lines;
    int Starts = 0;
    int Ends = 0;
    bool Shown = false;
};

// A small site in a temporary folder: Local Root is <tmp>/site and Local
// Home <tmp>/site/www unless a test says otherwise. Paths in and out are
// relative to <tmp> and written with "/", whatever the path style.
class SiteFixture {
public:
    explicit SiteFixture(const PathStyle& style = PathStyle::Native()) : style_(style) {}

    // Entries "relative/path: contents"; "\n" in the contents stays a line break.
    void Write(const QStringList& entries) const
    {
        for (const QString& entry : entries) {
            const qsizetype colon = entry.indexOf(QLatin1String(": "));
            const QString path = colon < 0 ? entry : entry.left(colon);
            const QString contents = colon < 0 ? QString() : entry.mid(colon + 2);
            folder_.Write(path, contents.toUtf8());
        }
    }

    // The path as the program reads it: the temporary folder in the style's
    // form followed by the relative path.
    QString Local(const QString& relative) const
    {
        QString path = folder_.Path() + QLatin1Char('/') + relative;
        if (style_.IsWindows())
            path.replace(QLatin1Char('/'), QLatin1Char('\\'));
        return path;
    }

    // The reverse of Local for one item or a list of them.
    QString Relative(const QString& item) const
    {
        QString path = item;
        const QString prefix = Local(QString());
        if (path.startsWith(prefix))
            path = path.mid(prefix.size());
        if (style_.IsWindows())
            path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return path;
    }
    QStringList Relative(const QStringList& items) const
    {
        QStringList result;
        for (const QString& item : items)
            result.append(Relative(item));
        return result;
    }

    const TestFolder& Folder() const { return folder_; }
    const PathStyle& Style() const { return style_; }

private:
    PathStyle style_;
    TestFolder folder_;
};
