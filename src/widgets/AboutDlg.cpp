// CAboutDlg: laid out as its dialog template (dialog units in the fixed-width face).
#include "AboutDlg.h"

#include "widgets/DialogUnits.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

namespace {

// The help text is a few kilobytes; anything far larger is not ours.
constexpr qint64 kMaxHelpBytes = 1 << 20;

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent, const QString& helpResource, const QString& version)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tavimo 정보"));
    setFont(FixedFontPoints(12));
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(266, 239));

    auto* icon = new QLabel(this);
    icon->setGeometry(units.ToPixels(5, 5, 20, 20));
    QIcon appIcon = QApplication::windowIcon();
    if (appIcon.isNull())
        appIcon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    icon->setPixmap(appIcon.pixmap(32, 32));

    m_pName = new QLabel(NameLine(version), this);
    m_pName->setTextFormat(Qt::PlainText);
    m_pName->setGeometry(units.ToPixels(40, 5, 119, 8));
    m_pName->resize(std::max(m_pName->width(), m_pName->sizeHint().width()), std::max(m_pName->height(), m_pName->sizeHint().height()));

    m_pOk = new QPushButton(QStringLiteral("확인"), this);
    m_pOk->setGeometry(units.ToPixels(205, 5, 50, 15));
    m_pOk->setDefault(true);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);

    m_pHelp = new QPlainTextEdit(this);
    m_pHelp->setGeometry(units.ToPixels(5, 35, 255, 197));
    m_pHelp->setReadOnly(true);
    m_pHelp->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pHelp->setFont(font());
    m_pHelp->setPlainText(LoadHelpText(helpResource));
    m_pHelp->moveCursor(QTextCursor::Start);
    m_pHelp->verticalScrollBar()->setValue(0);
    m_pOk->setFocus();
}

QString CAboutDlg::NameLine(const QString& version)
{
    const qsizetype dot = version.lastIndexOf(QLatin1Char('.'));
    const QString build = dot < 0 ? version : version.mid(dot + 1);
    return QStringLiteral("Tavimo [빌드%1]").arg(build);
}

QString CAboutDlg::LoadHelpText(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.read(kMaxHelpBytes);
    return QString::fromUtf8(bytes);
}
