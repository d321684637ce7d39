#pragma once

#include <QString>
#include <QStringList>

class Clock;

// Folder id of the local application-data folder.
constexpr int CSIDL_LOCAL_APPDATA = 28;

// The encrypted settings store: one file, one encrypted line per entry
// "<Section><Key>value", held in plain text in memory while the program runs.
// Reads and writes change only the lines in memory; Save writes the file.
class TAppData {
public:
    // Create: asks the platform for the special folder (created if missing).
    explicit TAppData(int folderId = CSIDL_LOCAL_APPDATA);
    ~TAppData();
    TAppData(const TAppData&) = delete;
    TAppData& operator=(const TAppData&) = delete;

    // Where the date of a damaged file's copy comes from (the system clock
    // unless set); the clock must outlive the store.
    void SetClock(const Clock& clock);

    // Sets up the folders and loads the file; false when a folder cannot be made.
    bool SetConfigFile(const QString& company, const QString& product, const QString& fileName,
                       const QString& passphrase);
    // Encrypts and writes every line; throws TarnwellError when the file cannot be written.
    void Save();

    void WriteString(const QString& section, const QString& key, const QString& value);
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    void WriteInteger(const QString& section, const QString& key, int value);
    // Throws TarnwellError when the stored text is not a decimal integer.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    void WriteBool(const QString& section, const QString& key, bool value);
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    void DeleteKey(const QString& section, const QString& key);
    void DeleteSection(const QString& section);
    void WriteList(const QString& section, const QString& key, const QStringList& items);
    QStringList ReadList(const QString& section, const QString& key) const;
    QStringList ReadSectionEntries(const QString& section, const QString& filter) const;
    QString TempFolder() const;

    // Lines of the last load that failed to decrypt (the user is told
    // "Invalid data" once when this is not zero).
    int InvalidLineCount() const;
    // The settings file's full path (empty before SetConfigFile).
    QString FilePath() const;
    // The local application-data folder found by Create (empty if none).
    QString BaseFolder() const;

private:
    struct Impl;
    Impl* d_;
};
