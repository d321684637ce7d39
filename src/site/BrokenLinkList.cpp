#include "site/BrokenLinkList.h"

TBrokenLinkList::operator QStringList() const
{
    QStringList items;
    items.reserve(size());
    for (qsizetype link = 0; link < Count(); ++link) {
        items.append(FileOf(link));
        items.append(DetailOf(link));
    }
    return items;
}

QByteArrayView TBrokenLinkList::DetailBytes(qsizetype link) const
{
    const qint64 start = link == 0 ? 0 : records_.at(link - 1).DetailEnd;
    return QByteArrayView(details_).sliced(start, records_.at(link).DetailEnd - start);
}

void TBrokenLinkList::Append(const QString& fileItem, const QString& detailItem)
{
    // Links come file by file, so the last file is nearly always the one.
    qint32 file = records_.isEmpty() ? -1 : records_.last().File;
    if (file < 0 || files_.at(file) != fileItem) {
        const auto known = fileIndex_.constFind(fileItem);
        if (known != fileIndex_.constEnd()) {
            file = *known;
        } else {
            file = qint32(files_.size());
            files_.append(fileItem);
            fileIndex_.insert(fileItem, file);
        }
    }
    details_.append(detailItem.toUtf8());
    records_.append(Record{file, details_.size()});
}

void TBrokenLinkList::Clear()
{
    files_.clear();
    fileIndex_.clear();
    details_.clear();
    records_.clear();
    // A list that held a million links gives its memory back.
    files_.squeeze();
    details_.squeeze();
    records_.squeeze();
}

void TBrokenLinkList::RemoveIf(const std::function<bool(const QString& detail)>& test)
{
    TBrokenLinkList kept;
    for (qsizetype link = 0; link < Count(); ++link) {
        const QString detail = DetailOf(link);
        if (!test(detail))
            kept.Append(FileOf(link), detail);
    }
    *this = std::move(kept);
}
