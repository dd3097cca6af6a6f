#include "store/Settings.h"

Settings::Settings(const QString& iniFile)
    : m_store(iniFile.isEmpty() ? std::make_unique<QSettings>(QStringLiteral("Platterbook"),
                                                              QStringLiteral("Platterbook"))
                                : std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{}

QString Settings::read(const QString& section, const QString& key) const
{
    return m_store->value(section + u'/' + key).toString();
}

void Settings::write(const QString& section, const QString& key, const QString& value)
{
    m_store->setValue(section + u'/' + key, value);
    m_store->sync();
}

void Settings::deleteDisc(const QString& disc)
{
    if (disc.compare(General, Qt::CaseInsensitive) != 0) {
        deleteSection(disc);
        return;
    }
    m_store->remove(disc + u'/' + DiscLen);
    m_store->remove(disc + u'/' + Mono);
    m_store->sync();
}

void Settings::deleteSection(const QString& section)
{
    m_store->remove(section);
    m_store->sync();
}
