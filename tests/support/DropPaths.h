// Drops file paths on a widget as a file manager does: file addresses in the drag's data,
// written from the paths' bytes whatever their encoding.
#pragma once

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <string>
#include <vector>

namespace fixtures {

// Qt delivers a drop only to a widget that accepted the drag's entry: false (and no drop)
// when the entry was refused.
inline bool DropPaths(QObject* target, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.push_back(QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/")));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (enter.isAccepted())
        QCoreApplication::sendEvent(target, &drop);
    return enter.isAccepted();
}

} // namespace fixtures
