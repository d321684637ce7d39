#pragma once

#include "site/LinkRules.h"

#include <QList>
#include <QString>
#include <QStringList>

class TSiteLists;

// One web address written as an href= or src= value in a selected file.
struct TWebLinkUse {
    qsizetype FileIndex = 0; // item of lbxLocalFiles
    int Line = 0;            // 1-based
    LinkToken Token = LinkToken::Href;
    char Quote = '"';
    QString Value;          // as written
    qsizetype Address = -1; // index into TWebLinks::Addresses
};

struct TWebLinks {
    // Each address once, in the order first met, as a browser would ask
    // for it: without its "#" part, "&amp;" read as "&".
    QStringList Addresses;
    QList<TWebLinkUse> Uses;
    QStringList UnreadableFiles;
};

// The http and https values of href= and src= in the files of
// lbxLocalFiles that the scan reads for links. Block comments are passed
// over as the scan does; "//" starts no comment here, since every web
// address holds one.
TWebLinks CollectWebLinks(const TSiteLists& lists);

// The address a value asks for, or empty when it is no http(s) address.
QString WebAddressOf(const QString& value);
