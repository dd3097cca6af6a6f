#include "store/History.h"

#include <QHash>

#include <algorithm>

namespace history {

FileChange::FileChange(QString path, const std::optional<QByteArray>& before,
                       const std::optional<QByteArray>& after)
    : m_path(std::move(path)), m_before(shapeOf(before)), m_after(shapeOf(after))
{
    const QByteArrayView from = before ? QByteArrayView(*before) : QByteArrayView();
    const QByteArrayView to = after ? QByteArrayView(*after) : QByteArrayView();
    // The first line apart: an index's count changes with every disc added
    // or removed, while the rest differs in one disc's lines.
    const auto firstLine = [](QByteArrayView bytes) {
        const qsizetype end = bytes.indexOf('\n');
        return end < 0 ? bytes.size() : end + 1;
    };
    const qsizetype headFrom = firstLine(from);
    const qsizetype headTo = firstLine(to);
    addStretch(0, from.first(headFrom), to.first(headTo));
    addStretch(headFrom, from.sliced(headFrom), to.sliced(headTo));
}

FileChange::Shape FileChange::shapeOf(const std::optional<QByteArray>& bytes)
{
    return bytes ? Shape{bytes->size(), qHash(*bytes)} : Shape{};
}

bool FileChange::Shape::is(const std::optional<QByteArray>& bytes) const
{
    if (!bytes)
        return size < 0;
    return bytes->size() == size && qHash(*bytes) == hash;
}

void FileChange::addStretch(qsizetype base, QByteArrayView before, QByteArrayView after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    if (head + tail == before.size() && head + tail == after.size())
        return;
    m_stretches.append({base + head, before.sliced(head, before.size() - head - tail).toByteArray(),
                        after.sliced(head, after.size() - head - tail).toByteArray()});
}

std::optional<QByteArray> FileChange::after(const QByteArray& before) const
{
    if (!existsAfter())
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(m_after.size);
    qsizetype from = 0;
    for (const Stretch& stretch : m_stretches) {
        bytes.append(QByteArrayView(before).sliced(from, stretch.at - from));
        bytes.append(stretch.after);
        from = stretch.at + stretch.before.size();
    }
    bytes.append(QByteArrayView(before).sliced(from));
    return bytes;
}

std::optional<QByteArray> FileChange::before(const QByteArray& after) const
{
    if (!existsBefore())
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(m_before.size);
    qsizetype from = 0;
    qsizetype shift = 0; // where the file after stands ahead of the file before
    for (const Stretch& stretch : m_stretches) {
        const qsizetype at = stretch.at + shift;
        bytes.append(QByteArrayView(after).sliced(from, at - from));
        bytes.append(stretch.before);
        from = at + stretch.after.size();
        shift += stretch.after.size() - stretch.before.size();
    }
    bytes.append(QByteArrayView(after).sliced(from));
    return bytes;
}

qsizetype FileChange::cost() const
{
    qsizetype bytes = 0;
    for (const Stretch& stretch : m_stretches)
        bytes += stretch.before.size() + stretch.after.size();
    return bytes;
}

void History::record(Step step)
{
    m_redo.clear();
    m_undo.append(std::move(step));
    if (m_undo.size() > Depth)
        m_undo.removeFirst();
}

void History::clear()
{
    m_undo.clear();
    m_redo.clear();
}

} // namespace history
