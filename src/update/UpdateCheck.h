#pragma once

#include "update/UpdateQuery.h"

#include <QDate>
#include <QString>

#include <functional>

struct WorkingState;

// The code the update service knows this program by: the form field "App"
// and part of the user agent.
inline const QString UpdateProductCode = QStringLiteral("KTZ");

// The installer a program of this version comes from: "TarnwellSetup-" +
// the version with every "." made "-" + ".exe".
QString ExpectedInstallerName(const QString& version);
// The version an installer name stands for: from six characters after its
// first "Setup" to just before its first ".exe", "-" made "." again. Empty
// when the name has no such part.
QString LatestVersionIn(const QString& installerName);

// The texts the update check shows, kept enciphered in the program.
struct TUpdateTexts {
    QString ButtonCaption;
    QString InstalledLeadIn;
    QString LatestLeadIn;
    QString UpToDate;
    QString NoAnswer;
};
TUpdateTexts UpdateTexts();

// The address of the update service the program was built with (the CMake
// setting TARNWELL_UPDATE_ADDRESS, kept enciphered); empty when the build
// has none.
QString BuiltInUpdateAddress();
// The address the check asks. The environment variable
// TARNWELL_UPDATE_ADDRESS, when set, takes the built-in one's place; set
// empty, it turns the check off (the tests run that way). Empty: no check.
QString UpdateServiceAddress();
// What "Check for Update" says when there is no address to ask.
inline const QString NoUpdateServiceText = QStringLiteral("This build of Tarnwell has no update service.");
// Where a release is downloaded: the vendor's host and "/downloads/" +
// the installer name, without a scheme.
QString DownloadAddress(const QString& installerName);
// The hint of the update button.
QString UpdateButtonHint(const QString& installerName);

// A short date in the user's format; two-digit years are taken in the
// century nearest to today. Invalid when the text is no such date.
QDate ReadShortDate(const QString& text, const QDate& today);
QString ShortDateText(const QDate& date);

struct TUpdateRequest {
    bool Forced = false;
    QDate Today;
    // The running program's version "a.b.c.d" (empty: none).
    QString RunningVersion;
    // Empty: the check is off and nothing is asked; only a forced check
    // says so (NoUpdateServiceText).
    QString Address;
};

enum class TUpdateResult { NotDue, Off, NoAnswer, UpToDate, NewerRelease };

struct TUpdateOutcome {
    TUpdateResult Result = TUpdateResult::NotDue;
    // The information box to show; empty for none.
    QString Message;
};

// Asks the service (through `ask`) when the check is forced or due, keeps
// its reply in state.UpdateFileName and moves state.NextUpdateCheck a week
// past today after an answered automatic check. A stored date that no
// longer reads as one (the user changed the date format) is reset to today,
// so the check runs.
using UpdateAsk = std::function<TUpdateReply(const QString& address)>;
TUpdateOutcome CheckForUpdate(const TUpdateRequest& request, WorkingState& state, const UpdateAsk& ask);
