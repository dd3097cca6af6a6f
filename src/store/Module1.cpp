#include "store/Module1.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

Module1::Module1(Environment env)
    : m_env(std::move(env)), m_settings(m_env.settingsFile), m_catalogue(*this, m_shared)
{
    m_dataDir = !m_env.dataDir.isEmpty()
                    ? QDir::cleanPath(m_env.dataDir) + u'/'
                    : QDir(m_env.programDir).filePath(QStringLiteral("Data")) + u'/';
    m_shared.IndexPath = dataDir() + QStringLiteral("index.txt");
}

QString catalogueFolder(const QString& programDir, const QString& installedIn)
{
    const QString beside = QDir(programDir).filePath(QStringLiteral("Data"));
    // Installed where the system keeps its programs: the folder may well be
    // writable (by root), but it is nobody's place for a catalogue.
    const QString folder = QDir(programDir).canonicalPath();
    // (The Windows installer marks the folder it installs to.)
    const bool installed =
        folder == QDir(installedIn).canonicalPath() || folder.startsWith(QLatin1String("/usr/")) ||
        folder == QLatin1String("/bin") || folder.startsWith(QLatin1String("/opt/")) ||
        QFileInfo::exists(QDir(programDir).filePath(QStringLiteral("platterbook.installed")));
    if (!installed) {
        if (QFileInfo(beside).isDir() ? QFileInfo(beside).isWritable()
                                      : QFileInfo(programDir).isWritable())
            return beside;
    }
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/Data");
}

QString Module1::discPathFor(const QString& name) const
{
    return dataDir() + name + QStringLiteral(".txt");
}

QString Module1::writeFailureText(const QString& path, const QString& reason)
{
    return QStringLiteral("Could not save '%1': %2. The file was left as it was.")
        .arg(QDir::toNativeSeparators(path), reason);
}
