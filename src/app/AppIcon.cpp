// The application's icon, built from the same pictures the desktop's launcher shows.
#include "app/AppIcon.h"

#include <QDirIterator>

QIcon AppIcon() {
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("tavimo.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}
