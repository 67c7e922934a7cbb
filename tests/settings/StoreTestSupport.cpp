// Store fixtures for the settings tests.
#include "StoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace storetest {

std::unique_ptr<QSettings> OpenTavimoStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZELLORY"),
                                       QStringLiteral("TAVIMO"));
}

QString StoreFilePath()
{
    return OpenTavimoStore()->fileName();
}

void ClearStore()
{
    QFile::setPermissions(StoreFilePath(), QFile::ReadOwner | QFile::WriteOwner);
    auto store = OpenTavimoStore();
    store->clear();
    store->sync();
}

void WriteStoreFile(const QByteArray& bytes)
{
    const QString path = StoreFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace storetest
