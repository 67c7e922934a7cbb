// CSelectPageDlg: one column of page strings in a list with uniform rows, so a book of
// thousands of pages opens at once.
#include "SelectPageDlg.h"

#include "widgets/DialogUnits.h"
#include "widgets/Fonts.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

CSelectPageDlg::CSelectPageDlg(const std::vector<std::string>* pages, int selected, QWidget* parent)
    : QDialog(parent)
    , m_pPageList(pages)
    , m_nSelected(selected)
{
    setWindowTitle(QStringLiteral("파일 선택"));
    setFont(UiFontPoints(9));
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(286, 345));

    m_pList = new QTreeWidget(this);
    m_pList->setGeometry(units.ToPixels(5, 5, 275, 310));
    m_pList->setColumnCount(1);
    m_pList->setHeaderLabels({QStringLiteral("파일 목록")});
    m_pList->header()->setSectionsClickable(false);
    m_pList->header()->setStretchLastSection(false);
    m_pList->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setFrameShape(QFrame::Box);

    m_pOk = new QPushButton(QStringLiteral("OK"), this);
    m_pOk->setGeometry(units.ToPixels(175, 320, 50, 19));
    m_pOk->setDefault(true);
    m_pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_pCancel->setGeometry(units.ToPixels(230, 320, 50, 19));
    connect(m_pOk, &QPushButton::clicked, this, &CSelectPageDlg::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CSelectPageDlg::reject);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, &CSelectPageDlg::accept);

    QList<QTreeWidgetItem*> items;
    if (m_pPageList) {
        items.reserve(static_cast<qsizetype>(m_pPageList->size()));
        for (const std::string& page : *m_pPageList)
            items.append(new QTreeWidgetItem(QStringList{QString::fromStdString(page)}));
    }
    m_pList->addTopLevelItems(items);

    // The column spans the list but for a scroll bar's width and five pixels.
    const int scrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_pList);
    m_pList->header()->resizeSection(0, std::max(0, m_pList->width() - scrollBarWidth - 5));

    if (m_nSelected >= 0 && m_nSelected < m_pList->topLevelItemCount()) {
        QTreeWidgetItem* current = m_pList->topLevelItem(m_nSelected);
        m_pList->setCurrentItem(current);
        current->setSelected(true);
    }
    m_pList->setFocus();
}

void CSelectPageDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (QTreeWidgetItem* current = m_pList->currentItem(); current && current->isSelected())
        m_pList->scrollToItem(current, QAbstractItemView::EnsureVisible);
}

void CSelectPageDlg::accept()
{
    int topmost = -1;
    for (const QModelIndex& index : m_pList->selectionModel()->selectedRows()) {
        if (topmost < 0 || index.row() < topmost)
            topmost = index.row();
    }
    if (topmost < 0)
        return;
    m_nSelected = topmost;
    QDialog::accept();
}
