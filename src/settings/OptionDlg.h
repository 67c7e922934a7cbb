// COptionDlg: the modal options dialog "환경 설정"; eight switches of g_option as check
// boxes, copied back and saved at once on OK.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QPushButton;

class COptionDlg : public QDialog {
    Q_OBJECT
public:
    explicit COptionDlg(QWidget* parent = nullptr);

    // The check box bound to a switch, by its control id (1000-1007).
    QCheckBox* CheckBox(int id) const;
    QPushButton* OkButton() const { return m_pOk; }
    QPushButton* CancelButton() const { return m_pCancel; }

    void accept() override;

    std::int32_t m_bFlipPage;
    std::int32_t m_bInterpolation;
    std::int32_t m_bStretech;
    std::int32_t m_bView2Page;
    std::int32_t m_bCacheNextFile;
    std::int32_t m_bAutoDetectWidth;
    std::int32_t m_bSharpen;
    std::int32_t m_bResumePage;

private:
    struct Binding;
    static const Binding kBindings[];

    QCheckBox* m_boxes[8] = {};
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pCancel = nullptr;
};
