#pragma once

#include <QString>

class Prompts;
class TAppData;

// Where the signing tool is searched for: the ProgramFiles folder; when that
// is unset, /opt on POSIX (never the whole file system) and the root of the
// current drive on Windows.
QString SignToolSearchRoot();

// The path in a stored signing-tool value: every double quote removed.
// Empty for an empty value and for "needfind".
QString StoredSignToolPath(const QString& storedValue);

// Whether a stored value names a signing tool that is there, without
// searching or asking anything (for a build without a window).
bool SignToolUsable(const QString& storedValue);

// osslsigncode as the PATH finds it; empty when it is not there, and always
// on Windows, where SignTool is the signing tool.
QString OsslsigncodeOnPath();

// Checks the remembered signing tool, searching when forced or when nothing
// was ever stored: osslsigncode on the PATH first, then searchRoot for
// signtool.exe. The value is
// kept in the store with its own quotes, or "needfind" after a search in
// vain or when the remembered file has gone; the user is told of either
// through prompts. Returns whether signing is available, that is whether
// btnNoSignTool is to be hidden.
bool LocateSignTool(TAppData& store, bool force, Prompts& prompts,
                    const QString& searchRoot = SignToolSearchRoot());
