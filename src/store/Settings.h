#pragma once

#include <QMap>
#include <QSettings>
#include <QString>

#include <memory>

// The per-user settings store of the program: section "General" holds "navi",
// and every disc has a section of its own name with "disclen" and "mono".
class Settings
{
public:
    // An INI file at iniFile, or the user's own store for the application
    // "Platterbook" when iniFile is empty.
    explicit Settings(const QString& iniFile = {});
    ~Settings();

    // The empty text when the section or key is missing.
    QString read(const QString& section, const QString& key) const;
    void write(const QString& section, const QString& key, const QString& value);
    void deleteSection(const QString& section);
    // A disc's own settings. A disc named "General" shares its section with
    // the program's own keys, so only the disc's keys go.
    void deleteDisc(const QString& disc);
    // A disc's own keys with their values, and the same put back: keys
    // missing from values are removed.
    QMap<QString, QString> discSection(const QString& disc) const;
    void setDiscSection(const QString& disc, const QMap<QString, QString>& values);

    QString navi() const;
    void setNavi(const QString& value) { write(General, QStringLiteral("navi"), value); }
    QString discLength(const QString& disc) const { return read(disc, DiscLen); }
    void setDiscLength(const QString& disc, const QString& value) { write(disc, DiscLen, value); }
    QString mono(const QString& disc) const { return read(disc, Mono); }
    void setMono(const QString& disc, const QString& value) { write(disc, Mono, value); }

    QString fileName() const { return store().fileName(); }

private:
    QStringList discKeys(const QString& disc) const;
    inline static const QString General = QStringLiteral("General");
    inline static const QString DiscLen = QStringLiteral("disclen");
    inline static const QString Mono = QStringLiteral("mono");
    QSettings& store() const;
    QString m_iniFile;
    mutable std::unique_ptr<QSettings> m_store;
};
