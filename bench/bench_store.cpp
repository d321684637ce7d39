// Times the settings store: filling, saving, loading and looking up stores
// of 1,000 and 10,000 entries. Run from a Release build; writes only below a
// temporary XDG_DATA_HOME.
#include "settings/ApplicationDataAPI.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QString kPassphrase = QStringLiteral("bench passphrase of a usual length");

QString SectionOf(int i)
{
    return QStringLiteral("ULF-Project-Account%1").arg(i % 10);
}

QString KeyOf(int i)
{
    return QStringLiteral("/home/user/site/www/folder%1/page%2.html").arg(i % 37).arg(i);
}

double Millis(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Run(int entries)
{
    QElapsedTimer timer;
    const QString product = QStringLiteral("Bench%1").arg(entries);
    {
        TAppData store;
        store.SetConfigFile(QStringLiteral("TarnwellBench"), product, QStringLiteral("settings.dat"), kPassphrase);
        timer.start();
        for (int i = 0; i < entries; ++i)
            store.WriteString(SectionOf(i), KeyOf(i), QString::number(1400000000 + i));
        const double write = Millis(timer);
        timer.start();
        store.Save();
        const double save = Millis(timer);
        std::printf("%6d entries: write %8.1f ms, save %8.1f ms\n", entries, write, save);
    }
    TAppData store;
    timer.start();
    store.SetConfigFile(QStringLiteral("TarnwellBench"), product, QStringLiteral("settings.dat"), kPassphrase);
    const double load = Millis(timer);
    // Look up every entry once, in an order unlike the file's.
    timer.start();
    qsizetype found = 0;
    for (int n = 0; n < entries; ++n) {
        const int i = static_cast<int>((static_cast<long long>(n) * 7919) % entries);
        found += store.ReadString(SectionOf(i), KeyOf(i), QString()).size();
    }
    const double lookups = Millis(timer);
    std::printf("%6d entries: load %9.1f ms, %d ReadString %6.1f ms (%lld chars, %d bad lines)\n", entries, load,
                entries, lookups, static_cast<long long>(found), store.InvalidLineCount());
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    Run(1000);
    Run(10000);
    return 0;
}
