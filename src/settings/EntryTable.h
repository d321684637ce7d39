#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// The store's lines in file order, with an index that makes look-ups by the
// full "<Section><Key>" prefix cheap while keeping the exact rule: a line
// matches a prefix when it starts with it, and the first such line wins.
//
// The index maps a line's natural prefix (up to and including its second
// ">") to the positions of the lines that carry it, in order. A prefix
// "<s><k>" whose section and key hold no ">" is matched by exactly the lines
// with that natural prefix, so the index answers it; any other prefix (one
// with more ">", or a bare section) falls back to a scan, which gives the
// same answer more slowly. Removed lines leave a hole until enough holes
// have gathered to compact, so that positions in the index stay valid.
class EntryTable {
public:
    static constexpr qsizetype NotFound = -1;

    void Clear();
    qsizetype Count() const { return live_; }
    // The live lines in order.
    QStringList Lines() const;

    void Append(const QString& line);
    const QString& At(qsizetype position) const { return slots_[static_cast<std::size_t>(position)]; }
    // Replaces a line by one that starts with the same prefix.
    void Replace(qsizetype position, const QString& line);

    qsizetype FindFirst(const QString& prefix) const;
    std::vector<qsizetype> FindAll(const QString& prefix) const;
    // Removes every line that starts with the prefix.
    void RemoveAll(const QString& prefix);

private:
    static QStringView NaturalPrefix(QStringView line);
    static bool Indexed(const QString& prefix) { return NaturalPrefix(prefix).size() == prefix.size(); }
    void Unindex(qsizetype position);
    void CompactIfSparse();

    std::vector<QString> slots_;
    std::vector<bool> alive_;
    qsizetype live_ = 0;
    QHash<QString, std::vector<qsizetype>> index_;
};
