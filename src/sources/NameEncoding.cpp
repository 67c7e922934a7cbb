#include "NameEncoding.h"

#include <QStringDecoder>

std::string DisplayNameFromBytes(std::string_view bytes, bool flaggedUtf8)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (flaggedUtf8 || !utf8.hasError())
        return asUtf8.toStdString();
    QStringDecoder cp949("CP949");
    if (!cp949.isValid())
        return asUtf8.toStdString();
    return QString(cp949.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())))).toStdString();
}
