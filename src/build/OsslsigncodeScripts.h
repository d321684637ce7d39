#pragma once

#include "BuildScripts.h"

// The signing and time-stamp scripts for osslsigncode, which signs one file
// per run and always into a new file: each file is signed or time-stamped
// into "<file>.signing" beside it, which replaces the file (keeping its
// permissions) only when the tool succeeded, and is removed otherwise. The
// certificate is the PFX file, the digest SHA-256, the password read from
// setup.PasswordFile; the time stamps are RFC 3161 ones.

// Signs the files in order, stopping at the first that fails (exit 1); the
// tool's standard output goes to capturePath.
QByteArray OsslsigncodeSigningScript(ScriptFlavour flavour, const SigningSetup& setup, const QString& step,
                                     const QStringList& files, const QString& capturePath);

// Adds a time stamp to the signed file, with the same rotation through the
// servers and attempts as SignTool's script.
QByteArray OsslsigncodeTimestampScript(ScriptFlavour flavour, const QString& tool, const QStringList& servers,
                                       int attempts, const QString& file);
