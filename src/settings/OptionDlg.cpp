// COptionDlg: the check boxes are laid out as in the dialog template (dialog units turned
// into pixels); the indented boxes belong to the one above them.
#include "OptionDlg.h"

#include "settings/Option.h"
#include "widgets/DialogUnits.h"
#include "widgets/Fonts.h"

#include <QCheckBox>
#include <QPushButton>

// One switch: its copy in the dialog, its field in g_option, its control and template place.
struct COptionDlg::Binding {
    std::int32_t COptionDlg::*copy;
    std::int32_t COption::*field;
    int id;
    const char* text;
    int x, y, w, h;
    bool enabled;
};

// In the order the switches are exchanged.
const COptionDlg::Binding COptionDlg::kBindings[] = {
    {&COptionDlg::m_bFlipPage, &COption::bFlipPage, 1003, "좌우 페이지 바꾸기", 25, 71, 75, 10, true},
    {&COptionDlg::m_bInterpolation, &COption::bInterpolation, 1001, "인터폴레이션", 25, 25, 56, 10, true},
    {&COptionDlg::m_bStretech, &COption::bStretech, 1000, "확대", 10, 10, 40, 10, true},
    {&COptionDlg::m_bView2Page, &COption::bView2Page, 1002, "2페이지씩 보기", 10, 55, 62, 10, true},
    {&COptionDlg::m_bCacheNextFile, &COption::bCacheNextFile, 1004, "다음페이지 캐슁", 10, 101, 75, 10, true},
    // Shown with its stored state; nothing in the dialog can change it.
    {&COptionDlg::m_bAutoDetectWidth, &COption::bAutoDetectWidth, 1005, "페이지 폭 자동 인식하기", 25, 85, 91, 10, false},
    {&COptionDlg::m_bSharpen, &COption::bSharpen, 1006, "샤픈", 25, 40, 56, 10, true},
    {&COptionDlg::m_bResumePage, &COption::bResumePage, 1007, "읽던 페이지부터 열기", 10, 116, 91, 10, true},
};

COptionDlg::COptionDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("환경 설정"));
    setFont(UiFontPoints(9));
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(235, 129));

    m_pOk = new QPushButton(QStringLiteral("OK"), this);
    m_pOk->setGeometry(units.ToPixels(125, 91, 50, 19));
    m_pOk->setDefault(true);
    m_pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_pCancel->setGeometry(units.ToPixels(180, 91, 50, 19));
    connect(m_pOk, &QPushButton::clicked, this, &COptionDlg::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &COptionDlg::reject);

    int index = 0;
    for (const Binding& b : kBindings) {
        this->*b.copy = g_option.*b.field;
        QCheckBox* box = new QCheckBox(QString::fromUtf8(b.text), this);
        box->setGeometry(units.ToPixels(b.x, b.y, b.w, b.h));
        // Room for the text in the fallback faces, which may be wider than the template's.
        box->resize(std::max(box->width(), box->sizeHint().width()), std::max(box->height(), box->sizeHint().height()));
        box->setChecked((this->*b.copy) != 0);
        box->setEnabled(b.enabled);
        m_boxes[index++] = box;
    }

    // Tab order of the template: OK, Cancel, then the boxes by id.
    QWidget* previous = m_pCancel;
    setTabOrder(m_pOk, m_pCancel);
    for (int id = 1000; id <= 1007; ++id) {
        setTabOrder(previous, CheckBox(id));
        previous = CheckBox(id);
    }
}

QCheckBox* COptionDlg::CheckBox(int id) const
{
    int index = 0;
    for (const Binding& b : kBindings) {
        if (b.id == id)
            return m_boxes[index];
        ++index;
    }
    return nullptr;
}

void COptionDlg::accept()
{
    int index = 0;
    for (const Binding& b : kBindings) {
        this->*b.copy = m_boxes[index++]->isChecked() ? 1 : 0;
        g_option.*b.field = this->*b.copy;
    }
    g_option.Save();
    QDialog::accept();
}
