#include "site/FileComments.h"

#include "util/ExtraCode.h"

void SetCommentStyle(const QString& extension, TFileComments& comments)
{
    // Every field is set, so nothing of the file read before carries over.
    comments = TFileComments();
    const QString ext = LowerAscii(extension);
    if (ext == QLatin1String(".php") || ext == QLatin1String(".js")) {
        comments.OpenMarker = "/*";
        comments.CloseMarker = "*/";
        comments.LineMarker = "//";
    } else if (ext == QLatin1String(".html") || ext == QLatin1String(".htm")) {
        comments.OpenMarker = "<!--";
        comments.CloseMarker = "-->";
        comments.LineMarker = "//";
    } else if (ext == QLatin1String(".css")) {
        comments.OpenMarker = "/*";
        comments.CloseMarker = "*/";
    } else if (ext == QLatin1String(".jsp")) {
        comments.OpenMarker = "<!--";
        comments.CloseMarker = "-->";
    }
    comments.CloseLength = qint32(comments.CloseMarker.size());
}

bool StripComments(QByteArray& line, TFileComments& comments)
{
    if (comments.InComment) {
        const qsizetype close = comments.CloseMarker.isEmpty() ? -1 : line.indexOf(comments.CloseMarker);
        if (close >= 0) {
            line = line.mid(close + comments.CloseLength);
            comments.InComment = false;
        } else {
            line.clear();
        }
        return !line.isEmpty();
    }
    const qsizetype open = comments.OpenMarker.isEmpty() ? -1 : line.indexOf(comments.OpenMarker);
    if (open >= 0) {
        comments.InComment = true;
        // The comment closes after it opens: a closing marker earlier on the
        // line belongs to nothing and must not end this comment.
        const qsizetype close = line.indexOf(comments.CloseMarker, open + comments.OpenMarker.size());
        QByteArray kept = line.left(open);
        if (close >= 0) {
            kept += line.mid(close + comments.CloseLength);
            comments.InComment = false;
        }
        line = kept;
    } else if (!comments.LineMarker.isEmpty()) {
        const qsizetype marker = line.indexOf(comments.LineMarker);
        if (marker >= 0)
            line.truncate(marker);
    }
    return !line.isEmpty();
}
