#pragma once

#include <QByteArray>
#include <QString>

// The comment markers of the file being read for links, and whether the
// previous line ended inside a block comment. Empty markers mean none.
struct TFileComments {
    QByteArray OpenMarker;
    QByteArray CloseMarker;
    QByteArray LineMarker;
    qint32 CloseLength = 0;
    bool InComment = false;
};

// Sets the markers for a file with this extension (compared in lower case)
// and leaves the block comment. Style sheets have no line comment, since
// "//" in their values starts an address; text files have no comments.
void SetCommentStyle(const QString& extension, TFileComments& comments);

// Removes from line the one comment it opens, closes or lies in (a block
// comment takes precedence over a line comment) and carries the block state
// to the next line. Returns whether anything is left of the line.
bool StripComments(QByteArray& line, TFileComments& comments);
