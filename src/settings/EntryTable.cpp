#include "EntryTable.h"

#include <algorithm>

QStringView EntryTable::NaturalPrefix(QStringView line)
{
    const qsizetype first = line.indexOf(u'>');
    if (first < 0)
        return {};
    const qsizetype second = line.indexOf(u'>', first + 1);
    if (second < 0)
        return {};
    return line.left(second + 1);
}

void EntryTable::Clear()
{
    slots_.clear();
    alive_.clear();
    live_ = 0;
    index_.clear();
}

QStringList EntryTable::Lines() const
{
    QStringList lines;
    lines.reserve(live_);
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (alive_[i])
            lines.append(slots_[i]);
    return lines;
}

void EntryTable::Append(const QString& line)
{
    const auto position = static_cast<qsizetype>(slots_.size());
    slots_.push_back(line);
    alive_.push_back(true);
    ++live_;
    const QStringView key = NaturalPrefix(line);
    if (!key.isEmpty())
        index_[key.toString()].push_back(position);
}

void EntryTable::Replace(qsizetype position, const QString& line)
{
    // Same prefix, so the natural prefix (inside it) and the index stay as they are.
    slots_[static_cast<std::size_t>(position)] = line;
}

qsizetype EntryTable::FindFirst(const QString& prefix) const
{
    if (Indexed(prefix)) {
        const auto it = index_.constFind(prefix);
        return it == index_.cend() ? NotFound : it->front();
    }
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (alive_[i] && slots_[i].startsWith(prefix))
            return static_cast<qsizetype>(i);
    return NotFound;
}

std::vector<qsizetype> EntryTable::FindAll(const QString& prefix) const
{
    if (Indexed(prefix))
        return index_.value(prefix);
    std::vector<qsizetype> found;
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (alive_[i] && slots_[i].startsWith(prefix))
            found.push_back(static_cast<qsizetype>(i));
    return found;
}

void EntryTable::Unindex(qsizetype position)
{
    const QStringView key = NaturalPrefix(slots_[static_cast<std::size_t>(position)]);
    if (key.isEmpty())
        return;
    const auto it = index_.find(key.toString());
    if (it == index_.end())
        return;
    auto& positions = *it;
    const auto at = std::lower_bound(positions.begin(), positions.end(), position);
    if (at != positions.end() && *at == position)
        positions.erase(at);
    if (positions.empty())
        index_.erase(it);
}

void EntryTable::RemoveAll(const QString& prefix)
{
    std::vector<qsizetype> doomed;
    if (Indexed(prefix)) {
        doomed = index_.take(prefix);
    } else {
        doomed = FindAll(prefix);
        for (qsizetype position : doomed)
            Unindex(position);
    }
    for (qsizetype position : doomed) {
        alive_[static_cast<std::size_t>(position)] = false;
        slots_[static_cast<std::size_t>(position)].clear();
    }
    live_ -= static_cast<qsizetype>(doomed.size());
    CompactIfSparse();
}

void EntryTable::CompactIfSparse()
{
    const auto holes = static_cast<qsizetype>(slots_.size()) - live_;
    if (holes < 64 || holes < live_)
        return;
    std::vector<QString> old;
    old.swap(slots_);
    std::vector<bool> oldAlive;
    oldAlive.swap(alive_);
    Clear();
    slots_.reserve(old.size() - static_cast<std::size_t>(holes));
    for (std::size_t i = 0; i < old.size(); ++i)
        if (oldAlive[i])
            Append(old[i]);
}
