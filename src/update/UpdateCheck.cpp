#include "update/UpdateCheck.h"

#include "projects/WorkingState.h"
#include "settings/TextCipher.h"

#include "UpdateServiceAddress.h"

#include <QLocale>

namespace {

// Made with tarnwell-cipher under UpdatePassphrase().
const char* const ButtonCaptionCipher =
    "zU7s0uk4UgkzNHzVTXqYghZDdyvhkpyN22EgyS5JnLi69JZ/5mzyvE1yBnyLFImN++qE6i4BAaqkySMeg9id8Q==";
const char* const InstalledLeadInCipher =
    "opnWj4BWy+ZgONVzQcXhWtgTi7PqSKP/vSiklnIZLmdE5Tg4wdLOPSw+rsDBGBJ2YZRbH+L9QkRKhFpAcxSOAXJ8pBQ=";
const char* const LatestLeadInCipher =
    "NLIJykB6ZQui8seP+atXufETiZZPLLu05AeWRE/Fi4cDOpHB8B9PmTXC6xJUECNZdL+6wCswHaigIgWCTyE=";
const char* const UpToDateCipher = "Q0WcBS0n+Mg2qxYo68RjoTVvILoRYmCNyTR0+"
                                   "sNLClohnjtN1Kl6EIe4pLB7GpW60j7YSX8x5oEWsf86GrM0DlJXYkF2Uva9se3bX6ZHPe0"
                                   "U3hpMqCqqrgZi/YKJ37teFFaOGPt4H37j9Dd3shPAFA==";
const char* const NoAnswerCipher = "T7YP9vrdO47o3ugQLCM4rGDisqaRknSGuxRw+"
                                   "Qaf6ZluejrQc5dEQtuJHiuj2aqffy0NyRaFUSirEoejsHy5Sa14aW83BtoFF0EH62aP3af"
                                   "nk9F4y7HnAmgALh+Yi14xtib1zxqa1psG/"
                                   "oxE35GAeoeS1hBjJVN7JblmsZyR8gj4d4jfoOwH7KM9nQQu4DDgM33Fp9oF8DyfC+iy9vbIO"
                                   "2V8bYJ670S7Ym7XDCp17X5fibPKOtipxdWmdTO3XT3z8KI=";

const char* const DownloadHost = "www.tarnwell.example";

// Joined at run time, so the passphrase never stands in the binary whole.
// The build enciphers the service's address under it too
// (cmake/EncipherUpdateAddress.cmake).
QString UpdatePassphrase()
{
    return QStringLiteral("Hv8%cQ") + QStringLiteral("m3Xk7w") + QStringLiteral("Z2p&Lr5n");
}

QString Decipher(const char* base64)
{
    return DecipherText(QString::fromLatin1(base64), UpdatePassphrase());
}

} // namespace

QString ExpectedInstallerName(const QString& version)
{
    return QStringLiteral("TarnwellSetup-") + QString(version).replace(QLatin1Char('.'), QLatin1Char('-')) +
           QStringLiteral(".exe");
}

QString LatestVersionIn(const QString& installerName)
{
    // 0-based here: the text starts six characters after "Setup" begins.
    const qsizetype setup = installerName.indexOf(QStringLiteral("Setup"));
    const qsizetype start = setup < 0 ? 5 : setup + 6;
    const qsizetype end = installerName.indexOf(QStringLiteral(".exe"));
    if (end < 0 || end <= start || start >= installerName.size())
        return {};
    return installerName.mid(start, end - start).replace(QLatin1Char('-'), QLatin1Char('.'));
}

TUpdateTexts UpdateTexts()
{
    return {Decipher(ButtonCaptionCipher), Decipher(InstalledLeadInCipher), Decipher(LatestLeadInCipher),
            Decipher(UpToDateCipher), Decipher(NoAnswerCipher)};
}

QString BuiltInUpdateAddress()
{
    return BuiltInAddressCipher[0] ? Decipher(BuiltInAddressCipher) : QString();
}

QString UpdateServiceAddress()
{
    if (qEnvironmentVariableIsSet("TARNWELL_UPDATE_ADDRESS"))
        return qEnvironmentVariable("TARNWELL_UPDATE_ADDRESS");
    return BuiltInUpdateAddress();
}

QString DownloadAddress(const QString& installerName)
{
    return QString::fromLatin1(DownloadHost) + QStringLiteral("/downloads/") + installerName;
}

QString UpdateButtonHint(const QString& installerName)
{
    return QStringLiteral("Click to Close Tarnwell and download ") + installerName;
}

QDate ReadShortDate(const QString& text, const QDate& today)
{
    const QLocale locale = QLocale::system();
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QDate date = locale.toDate(text, format);
    if (!date.isValid())
        return {};
    // Qt reads a two-digit year as 19xx: a date written next week would
    // read as a century ago and the check would run at every start.
    if (!format.contains(QStringLiteral("yyyy")) && format.contains(QStringLiteral("yy"))) {
        while (date.year() < today.year() - 50)
            date = date.addYears(100);
    }
    return date;
}

QString ShortDateText(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

TUpdateOutcome CheckForUpdate(const TUpdateRequest& request, WorkingState& state, const UpdateAsk& ask)
{
    if (request.Address.isEmpty())
        return {TUpdateResult::Off, request.Forced ? NoUpdateServiceText : QString()};
    const QString expected = ExpectedInstallerName(request.RunningVersion);
    QDate next = ReadShortDate(state.NextUpdateCheck, request.Today);
    if (!next.isValid()) {
        next = request.Today;
        state.NextUpdateCheck = ShortDateText(next);
    }
    if (!request.Forced && request.Today < next)
        return {TUpdateResult::NotDue, {}};

    const TUpdateReply reply = ask(request.Address);
    state.UpdateFileName = reply.Text;
    const TUpdateTexts texts = UpdateTexts();
    if (!reply.Answered())
        return {TUpdateResult::NoAnswer, texts.NoAnswer};
    if (!request.Forced)
        state.NextUpdateCheck = ShortDateText(request.Today.addDays(7));
    if (reply.Text != expected) {
        QString message;
        if (request.Forced)
            message = texts.InstalledLeadIn + QLatin1Char(' ') + request.RunningVersion + QLatin1Char('\r') +
                      texts.LatestLeadIn + QLatin1Char(' ') + LatestVersionIn(reply.Text);
        return {TUpdateResult::NewerRelease, message};
    }
    return {TUpdateResult::UpToDate, request.Forced ? texts.UpToDate : QString()};
}
