#include "store/Module1.h"

#include <QDir>

Module1::Module1(Environment env) : m_env(std::move(env)), m_settings(m_env.settingsFile) {}

QString Module1::dataDir() const
{
    return QDir(m_env.programDir).filePath(QStringLiteral("Data")) + u'/';
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
