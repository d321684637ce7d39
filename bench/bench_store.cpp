// Times the settings store: filling, saving, loading and looking up stores
// of 1,000 and 10,000 entries. Run from a Release build; writes only below a
// temporary XDG_DATA_HOME.
#include "settings/ApplicationDataAPI.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

// Up to 16 characters keep every key-derivation hash to two Whirlpool blocks;
// longer ones take three. Pass a passphrase as the argument to compare.
QString passphrase = QStringLiteral("bench passphrase of a usual length");

QString SectionOf(int i)
{
    return QStringLiteral("ULF-Project-Account%1").arg(i % 10);
}

QString KeyOf(int i)
{
    return QStringLiteral("/home/user/site/www/folder%1/page%2.html").arg(i % 37).arg(i);
}

// Wall time and the process's processor time (all threads): on a machine
// busy with other work the second shows what the store itself costs.
struct Stopwatch {
    QElapsedTimer wall;
    std::clock_t cpu = 0;
    void Start()
    {
        cpu = std::clock();
        wall.start();
    }
    QString Elapsed() const
    {
        const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
        return QStringLiteral("%1 ms (cpu %2 ms)")
            .arg(static_cast<double>(wall.nsecsElapsed()) / 1e6, 7, 'f', 1)
            .arg(cpuMs, 7, 'f', 1);
    }
};

void Run(int entries)
{
    Stopwatch timer;
    const QString product = QStringLiteral("Bench%1").arg(entries);
    {
        TAppData store;
        store.SetConfigFile(QStringLiteral("TarnwellBench"), product, QStringLiteral("settings.dat"),
                            passphrase);
        timer.Start();
        for (int i = 0; i < entries; ++i)
            store.WriteString(SectionOf(i), KeyOf(i), QString::number(1400000000 + i));
        const QString write = timer.Elapsed();
        timer.Start();
        store.Save();
        const QString save = timer.Elapsed();
        std::printf("%6d entries: write %s, save %s\n", entries, qPrintable(write), qPrintable(save));
    }
    TAppData store;
    timer.Start();
    store.SetConfigFile(QStringLiteral("TarnwellBench"), product, QStringLiteral("settings.dat"), passphrase);
    const QString load = timer.Elapsed();
    // Look up every entry once, in an order unlike the file's; the names are
    // made beforehand so that only the look-ups are timed.
    QStringList sections;
    QStringList keys;
    for (int n = 0; n < entries; ++n) {
        const int i = static_cast<int>((static_cast<long long>(n) * 7919) % entries);
        sections.append(SectionOf(i));
        keys.append(KeyOf(i));
    }
    timer.Start();
    qsizetype found = 0;
    for (int n = 0; n < entries; ++n)
        found += store.ReadString(sections[n], keys[n], QString()).size();
    const QString lookups = timer.Elapsed();
    std::printf("%6d entries: load  %s, %d ReadString %s (%lld chars, %d bad lines)\n", entries,
                qPrintable(load), entries, qPrintable(lookups), static_cast<long long>(found),
                store.InvalidLineCount());
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    if (argc > 1)
        passphrase = QString::fromUtf8(argv[1]);
    std::printf("passphrase of %lld characters\n", static_cast<long long>(passphrase.size()));
    Run(1000);
    Run(10000);
    return 0;
}
