#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// lbxBrokenLinks, kept compact: a big site can hold a million dead links,
// so each file item is stored once and the detail items one after another
// as UTF-8. Read as the list of items the window shows: file item, detail
// item, file item, ...
class TBrokenLinkList {
public:
    // Items, two per dead link.
    qsizetype size() const { return 2 * records_.size(); }
    bool isEmpty() const { return records_.isEmpty(); }
    QString at(qsizetype item) const { return item % 2 == 0 ? FileOf(item / 2) : DetailOf(item / 2); }
    QString operator[](qsizetype item) const { return at(item); }
    operator QStringList() const;

    // Dead links, and each one's two items.
    qsizetype Count() const { return records_.size(); }
    const QString& FileOf(qsizetype link) const { return files_.at(records_.at(link).File); }
    QString DetailOf(qsizetype link) const { return QString::fromUtf8(DetailBytes(link)); }
    QByteArrayView DetailBytes(qsizetype link) const;

    void Append(const QString& fileItem, const QString& detailItem);
    void Clear();
    // Drops the links whose detail item the test accepts, keeping the order.
    void RemoveIf(const std::function<bool(const QString& detail)>& test);

private:
    struct Record {
        qint32 File;      // index into files_
        qint64 DetailEnd; // end of the detail in details_
    };
    QStringList files_;
    QHash<QString, qint32> fileIndex_;
    QByteArray details_;
    QList<Record> records_;
};
