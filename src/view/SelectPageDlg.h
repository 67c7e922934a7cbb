// CSelectPageDlg: the modal page list "파일 선택"; the user picks any page of the open book
// and OK (or a double click) hands back the topmost selected one.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;

class CSelectPageDlg : public QDialog {
    Q_OBJECT
public:
    // `pages` is the view's page list (not owned, read only); `selected` the index of the
    // page to select at start (the list's size when no page is current).
    CSelectPageDlg(const std::vector<std::string>* pages, int selected, QWidget* parent = nullptr);

    // After exec() returned QDialog::Accepted: the index chosen.
    int SelectedIndex() const { return m_nSelected; }

    QTreeWidget* List() const { return m_pList; }
    QPushButton* OkButton() const { return m_pOk; }
    QPushButton* CancelButton() const { return m_pCancel; }

    // OK: takes the topmost selected item; with none selected the dialog stays open.
    void accept() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    const std::vector<std::string>* m_pPageList;
    int m_nSelected;
    QTreeWidget* m_pList = nullptr;
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pCancel = nullptr;
};
