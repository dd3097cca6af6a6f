#include "store/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

QString userStoreFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Platterbook/Platterbook.conf");
}

// A program stopped while it saved the settings (a crash, a power cut) can
// leave their lock file empty. Nobody holds it, yet the settings store would
// wait half a minute for it to age before the next save.
void clearOrphanedLock(const QString& file)
{
    const QFileInfo lock(file + QStringLiteral(".lock"));
    if (lock.exists() && lock.size() == 0)
        QLockFile(lock.filePath()).removeStaleLockFile();
}

} // namespace

Settings::Settings(const QString& iniFile) : m_iniFile(iniFile) {}

Settings::~Settings() = default;

QSettings& Settings::store() const
{
    // Read whole only when first needed: a store with thousands of discs'
    // sections takes a while, and the start needs one key of it.
    if (!m_store) {
        clearOrphanedLock(m_iniFile.isEmpty() ? userStoreFile() : m_iniFile);
        m_store = m_iniFile.isEmpty()
                      ? std::make_unique<QSettings>(QStringLiteral("Platterbook"),
                                                    QStringLiteral("Platterbook"))
                      : std::make_unique<QSettings>(m_iniFile, QSettings::IniFormat);
    }
    return *m_store;
}

QString Settings::read(const QString& section, const QString& key) const
{
    return store().value(section + u'/' + key).toString();
}

QString Settings::navi() const
{
    if (m_store)
        return read(General, QStringLiteral("navi"));
        // At the start only this key is wanted: found in the file's own lines
        // when it stands there plainly, from the whole store otherwise.
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    if (m_iniFile.isEmpty()) // the registry, or a property list: no lines to read
        return read(General, QStringLiteral("navi"));
#endif
    if (m_iniFile.isEmpty() &&
        QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation,
                                  QStringLiteral("Platterbook/Platterbook.conf"))
                .size() > 1)
        return read(General, QStringLiteral("navi")); // a store for all users beside the user's
    QFile file(m_iniFile.isEmpty() ? userStoreFile() : m_iniFile);
    if (!file.open(QIODevice::ReadOnly))
        return file.exists() ? read(General, QStringLiteral("navi")) : QString();
    const QByteArray text = file.readAll();
    const qsizetype section = text.startsWith("[%General]") ? 0 : text.indexOf("\n[%General]") + 1;
    if (section <= 0 && !text.startsWith("[%General]"))
        return {};
    for (qsizetype at = text.indexOf('\n', section) + 1; at > 0 && at < text.size();) {
        const qsizetype end = text.indexOf('\n', at);
        const QByteArray line = text.mid(at, (end < 0 ? text.size() : end) - at).trimmed();
        if (line.startsWith('['))
            break; // the next section
        if (line.startsWith("navi=")) {
            const QByteArray value = line.mid(5);
            for (const char c : value)
                if (!std::isalnum(uchar(c)))
                    return read(General, QStringLiteral("navi")); // written with escapes
            return QString::fromLatin1(value);
        }
        at = end < 0 ? text.size() : end + 1;
    }
    return {};
}

void Settings::write(const QString& section, const QString& key, const QString& value)
{
    store().setValue(section + u'/' + key, value);
    store().sync();
}

void Settings::deleteDisc(const QString& disc)
{
    if (disc.compare(General, Qt::CaseInsensitive) != 0) {
        deleteSection(disc);
        return;
    }
    store().remove(disc + u'/' + DiscLen);
    store().remove(disc + u'/' + Mono);
    store().sync();
}

QStringList Settings::discKeys(const QString& disc) const
{
    if (disc.compare(General, Qt::CaseInsensitive) == 0)
        return {DiscLen, Mono};
    store().beginGroup(disc);
    QStringList keys = store().childKeys();
    store().endGroup();
    return keys;
}

QMap<QString, QString> Settings::discSection(const QString& disc) const
{
    QMap<QString, QString> values;
    for (const QString& key : discKeys(disc))
        if (const QVariant value = store().value(disc + u'/' + key); value.isValid())
            values.insert(key, value.toString());
    return values;
}

void Settings::setDiscSection(const QString& disc, const QMap<QString, QString>& values)
{
    for (const QString& key : discKeys(disc))
        if (!values.contains(key))
            store().remove(disc + u'/' + key);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        store().setValue(disc + u'/' + it.key(), it.value());
    store().sync();
}

void Settings::deleteSection(const QString& section)
{
    store().remove(section);
    store().sync();
}
