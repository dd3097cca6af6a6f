#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// What the changes of a session did, kept so that each can be taken back
// and done again exactly.
namespace history {

// A file's bytes before and after one change, kept as the stretches that
// differ: a change of one disc in a long index costs the bytes of that disc,
// not those of the index. Either side may be no file at all.
class FileChange
{
public:
    FileChange(QString path, const std::optional<QByteArray>& before,
               const std::optional<QByteArray>& after);

    const QString& path() const { return m_path; }
    bool existsBefore() const { return m_before.size >= 0; }
    bool existsAfter() const { return m_after.size >= 0; }
    // Whether bytes (none: no file) are the file as the change found it, or
    // as it left it.
    bool isBefore(const std::optional<QByteArray>& bytes) const { return m_before.is(bytes); }
    bool isAfter(const std::optional<QByteArray>& bytes) const { return m_after.is(bytes); }
    // The file as the change found it, from the file as it left it; and the
    // other way. None: no file.
    std::optional<QByteArray> before(const QByteArray& after) const;
    std::optional<QByteArray> after(const QByteArray& before) const;
    // The change left the file as it found it.
    bool same() const { return m_stretches.isEmpty() && existsBefore() == existsAfter(); }
    // The bytes kept.
    qsizetype cost() const;

private:
    struct Shape {
        qsizetype size = -1; // -1: no file
        size_t hash = 0;
        bool is(const std::optional<QByteArray>& bytes) const;
    };
    // At offset at of the file before, the bytes before give way to the bytes after.
    struct Stretch {
        qsizetype at;
        QByteArray before;
        QByteArray after;
    };
    static Shape shapeOf(const std::optional<QByteArray>& bytes);
    void addStretch(qsizetype base, QByteArrayView before, QByteArrayView after);

    QString m_path;
    Shape m_before;
    Shape m_after;
    QList<Stretch> m_stretches;
};

// One change of the user's, as one step to take back or do again.
struct Step {
    QList<FileChange> files; // in the order the change wrote them
    QString disc;            // the disc it changed (the first, of several)
    // The settings of each disc the change touched, key by key, before and after.
    struct Section {
        QString disc;
        QMap<QString, QString> before;
        QMap<QString, QString> after = {};
    };
    QList<Section> sections;
    QString shownBefore; // the disc on show before the change
    QString shownAfter;  // and after it
};

// The steps of a session: the last ones to take back, and those taken back
// that can be done again.
class History
{
public:
    static constexpr int Depth = 100;
    void record(Step step);
    bool canUndo() const { return !m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }
    const Step& nextUndo() const { return m_undo.last(); }
    const Step& nextRedo() const { return m_redo.last(); }
    // The step was taken back, or done again.
    void undone() { m_redo.append(m_undo.takeLast()); }
    void redone() { m_undo.append(m_redo.takeLast()); }
    void clear();

private:
    QList<Step> m_undo;
    QList<Step> m_redo;
};

} // namespace history
