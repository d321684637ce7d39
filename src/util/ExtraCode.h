#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Small text and list functions shared by the whole program. Positions are
// 1-based; 0 means "not found". Letter-case folding touches A-Z only.

// A line split around the quoted value that follows a token. For a link:
// Head = up to and including the opening quote, Value = the target,
// TagEnd = closing quote up to the first ">", LinkText = the text of the
// link, Tail = from the next "<" on.
struct TSplitLine {
    QString Head;
    QString Value;
    QString LinkText;
    QString Tail;
    QString TagEnd;
};

// Splits text at separator into list (cleared first), keeping pieces from
// number firstPiece on (1 = all). The end of the text closes the last piece:
// "a,b" gives a and b, "a,b," a, b and an empty piece, "" one empty piece.
// An empty separator keeps the text as one piece.
void SplitToList(QStringList& list, const QString& text, const QString& separator, int firstPiece);

// Position of the last occurrence of sub in text; length(text) for an empty sub.
int LastPos(const QString& sub, const QString& text);

// Position of the first ' or " at or after start; sets quote to it. 0 (and
// quote untouched) when there is none.
int FindQuote(int start, const QString& text, QChar& quote);
int FindQuote(int start, const QString& text);

// Position of sub in text, A-Z folded to a-z on both sides; 0 for an empty sub.
int PosNoCase(const QString& sub, const QString& text);

// Text with the ASCII letters A-Z lowered and nothing else changed.
QString LowerAscii(const QString& text);

// What SplitLineAroundToken made of a line.
enum class SplitOutcome {
    Split,
    NoToken,
    NoOpeningQuote,
    NoClosingQuote,
    // "href" only: the tag does not end (no ">") after the value on this
    // line, so there is no link text to replace.
    NoTagEnd,
};

// Splits line around the quoted value after token. On failure the record
// keeps its old fields, except Head once the opening quote was found.
SplitOutcome SplitLineAroundToken(const QString& token, const QString& line, TSplitLine& parts);
// Whether SplitLineAroundToken split the line.
bool SplitAroundToken(const QString& token, const QString& line, TSplitLine& parts);

// Head + Value + TagEnd + LinkText + Tail.
QString JoinSplitLine(const TSplitLine& parts);

// Moves the selected item one place up ('u') or down ('d'), either case,
// and moves the selection with it. Returns whether anything moved.
bool MoveListItem(QStringList& items, int& selected, QChar direction);

// The file version of a program file, formatted with a printf-style format
// whose %d take major, minor, release and build in turn. Empty when the file
// carries no readable version. An empty path means this program.
QString GetVersionString(const QString& path, const QString& format);
// The format every caller passes: "2.1.0.37".
inline const QString VersionFormat = QStringLiteral("%d.%d.%d.%d");
