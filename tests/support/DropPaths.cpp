// Drops file paths on a widget as a file manager does.
#include "DropPaths.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace fixtures {

bool DropPaths(QObject* target, const std::vector<std::string>& paths) {
    QList<QUrl> urls;
    for (const std::string& path : paths)
        // From the path's bytes, as a file manager writes them, whatever their encoding.
        urls.push_back(QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/")));
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return true;
}

} // namespace fixtures
