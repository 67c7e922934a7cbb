// The four store routines over QSettings in the platform's native format (the registry on
// Windows, an INI file elsewhere). Each call opens the store, touches one value, closes it.
#include "RegStore.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <limits>
#include <memory>
#include <optional>

namespace {

// "SOFTWARE\ZELLORY\TAVIMO" names organisation "ZELLORY" and application "TAVIMO": QSettings
// puts its native user scope under HKCU\Software itself, and under ZELLORY/TAVIMO.conf in
// the user's config folder elsewhere. Deeper paths keep their remaining parts in the
// application name.
std::unique_ptr<QSettings> OpenStore(const std::string& keyPath)
{
    QStringList parts = QString::fromStdString(keyPath).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.front().compare(QLatin1String("SOFTWARE"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.isEmpty())
        return nullptr;
    const QString organisation = parts.takeFirst();
    const QString application = parts.join(QLatin1Char('/'));
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
    if (store->status() == QSettings::AccessError)
        return nullptr;
    return store;
}

// A switch is a 32-bit number. The registry hands back numbers; the INI file hands back
// decimal text. Anything else (other text, a number outside 32 bits, data of another
// size) is not a switch.
std::optional<std::int32_t> ToDword(const QVariant& value)
{
    constexpr qlonglong kMin = std::numeric_limits<std::int32_t>::min();
    constexpr qlonglong kMax = std::numeric_limits<std::uint32_t>::max();
    qlonglong number = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
        return value.toInt();
    case QMetaType::UInt:
        return static_cast<std::int32_t>(value.toUInt());
    case QMetaType::QString: {
        bool ok = false;
        number = value.toString().trimmed().toLongLong(&ok, 10);
        if (!ok)
            return std::nullopt;
        break;
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        if (bytes.size() != 4)
            return std::nullopt;
        std::uint32_t bits = 0;
        for (int i = 3; i >= 0; --i)
            bits = (bits << 8) | static_cast<std::uint8_t>(bytes[i]);
        return static_cast<std::int32_t>(bits);
    }
    default:
        return std::nullopt;
    }
    if (number < kMin || number > kMax)
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

// A malformed file reports a format error from reading it, yet the write replaces it;
// only an access error means the value did not reach the store.
bool Written(QSettings& store)
{
    store.sync();
    return store.status() != QSettings::AccessError;
}

// Readers of a list value that is being rewritten wait at most this long for the writer.
constexpr int kListLockWaitMs = 2000;

// The lock that keeps the read, merge and write of a list value to one instance at a time.
// QSettings' own lock covers only its write, so the list has one beside the INI file (the
// registry has no file of its own, and the INI path names the same per-user folder).
QString ListLockPath(const std::string& keyPath)
{
    const auto store = OpenStore(keyPath);
    if (!store)
        return {};
    const QSettings ini(QSettings::IniFormat, QSettings::UserScope, store->organizationName(),
                        store->applicationName());
    return ini.fileName() + QStringLiteral(".list-lock");
}

} // namespace

bool GetRegDword(const std::string& keyPath, const std::string& valueName, std::int32_t& out, std::int32_t def)
{
    out = def;
    const auto store = OpenStore(keyPath);
    if (!store)
        return false;
    const QString name = QString::fromStdString(valueName);
    if (!store->contains(name))
        return false;
    const std::optional<std::int32_t> value = ToDword(store->value(name));
    if (!value)
        return false;
    out = *value;
    return true;
}

bool SetRegDword(const std::string& keyPath, const std::string& valueName, std::int32_t value)
{
    const auto store = OpenStore(keyPath);
    if (!store)
        return false;
    store->setValue(QString::fromStdString(valueName), value);
    return Written(*store);
}

bool GetRegString(const std::string& keyPath, const std::string& valueName, std::string& out)
{
    const auto store = OpenStore(keyPath);
    if (!store)
        return false;
    const QString name = QString::fromStdString(valueName);
    if (!store->contains(name))
        return false;
    const QVariant value = store->value(name);
    QByteArray bytes;
    if (value.typeId() == QMetaType::QString)
        bytes = value.toString().toUtf8();
    else if (value.typeId() == QMetaType::QByteArray)
        bytes = value.toByteArray();
    else
        return false;
    if (bytes.isEmpty())
        return false;
    // Other tools store the path with a terminating zero; the path ends at the first one.
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0)
        bytes.truncate(end);
    out.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

bool SetRegString(const std::string& keyPath, const std::string& valueName, const std::string& value)
{
    const auto store = OpenStore(keyPath);
    if (!store)
        return false;
    store->setValue(QString::fromStdString(valueName), QString::fromStdString(value));
    return Written(*store);
}

bool GetRegList(const std::string& keyPath, const std::string& valueName, QStringList& out)
{
    const auto store = OpenStore(keyPath);
    if (!store)
        return false;
    const QVariant value = store->value(QString::fromStdString(valueName));
    if (value.typeId() == QMetaType::QStringList)
        out = value.toStringList();
    else if (value.typeId() == QMetaType::QString)
        out = QStringList{value.toString()}; // a list of one is read back as a bare text
    else
        return false;
    return true;
}

bool UpdateRegList(const std::string& keyPath, const std::string& valueName,
                   const std::function<QStringList(const QStringList& stored)>& update)
{
    const QString lockPath = ListLockPath(keyPath);
    if (lockPath.isEmpty() || !QDir().mkpath(QFileInfo(lockPath).absolutePath()))
        return false;
    QLockFile lock(lockPath);
    if (!lock.tryLock(kListLockWaitMs))
        return false;
    QStringList stored;
    GetRegList(keyPath, valueName, stored);
    const auto store = OpenStore(keyPath);
    if (!store)
        return false;
    // QSettings writes the file through a temporary one and renames it, so a crash during
    // the write leaves the previous store whole.
    store->setAtomicSyncRequired(true);
    store->setValue(QString::fromStdString(valueName), update(stored));
    return Written(*store);
}
