// CAboutDlg: the about box "Tavimo 정보", with the program's name and build number and the
// built-in help text in a read-only, scrollable, fixed-width field.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The program's version string, "1. 0. 0. 703"; its part after the last '.' is the build number.
inline constexpr const char* kTavimoVersion = TAVIMO_VERSION_STRING;
// Where the help text is built into the program.
inline constexpr const char* kAboutTextResource = ":/about.txt";

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr, const QString& helpResource = QString::fromLatin1(kAboutTextResource),
                       const QString& version = QString::fromLatin1(kTavimoVersion));

    // "Tavimo [빌드 703]" from "1. 0. 0. 703": the part after the last '.' (with its
    // leading space), or the whole string when it has no '.'.
    static QString NameLine(const QString& version);
    // The help text, or an empty text when the resource is missing or unreadable.
    static QString LoadHelpText(const QString& resource);

    QLabel* NameLabel() const { return m_pName; }
    QPlainTextEdit* HelpText() const { return m_pHelp; }
    QPushButton* OkButton() const { return m_pOk; }

private:
    QLabel* m_pName = nullptr;
    QPlainTextEdit* m_pHelp = nullptr;
    QPushButton* m_pOk = nullptr;
};
