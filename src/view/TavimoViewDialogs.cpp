// The pickers the page view opens by default: the file dialogs, the folder picker and the
// page select dialog.
#include "TavimoView.h"

#include "Messages.h"
#include "SelectPageDlg.h"
#include "sources/ArchiveKind.h"

#include <QFileDialog>

namespace {

QFileDialog::Options PickerOptions()
{
    // The reader sees the filter's text, not Qt's pattern list after it.
    return QFileDialog::HideNameFilterDetails;
}

std::vector<std::string> ChooseImageFiles(QWidget* owner, const std::string& startFolder)
{
    const QStringList chosen =
        QFileDialog::getOpenFileNames(owner, QString(), QString::fromStdString(startFolder),
                                      QString::fromUtf8(viewtext::kImageFilesFilter), nullptr, PickerOptions());
    std::vector<std::string> paths;
    paths.reserve(std::size_t(chosen.size()));
    for (const QString& path : chosen)
        paths.push_back(path.toStdString());
    return paths;
}

std::string ChooseFolder(QWidget* owner, const std::string& startFolder)
{
    QFileDialog picker(owner, QString::fromUtf8(viewtext::kFolderPickerTitle), QString::fromStdString(startFolder));
    picker.setFileMode(QFileDialog::Directory);
    picker.setOption(QFileDialog::ShowDirsOnly);
    // The line under the list shows the full path of the folder that is selected.
    QObject::connect(&picker, &QFileDialog::currentChanged, &picker,
                     [&picker](const QString& path) { picker.setLabelText(QFileDialog::FileName, path); });
    if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty())
        return std::string();
    return picker.selectedFiles().front().toStdString();
}

std::string ChooseArchive(QWidget* owner, const std::string& startFolder)
{
    return QFileDialog::getOpenFileName(owner, QString(), QString::fromStdString(startFolder),
                                        ArchiveDialogFilter(), nullptr, PickerOptions())
        .toStdString();
}

std::optional<std::size_t> ChoosePage(QWidget* owner, const std::vector<std::string>& pages, std::size_t current)
{
    // No parent of its own: the main window owns it and it is centred over that window.
    CSelectPageDlg dialog(&pages, int(current), owner ? owner->window() : nullptr);
    if (dialog.exec() != QDialog::Accepted || dialog.SelectedIndex() < 0)
        return std::nullopt;
    return std::size_t(dialog.SelectedIndex());
}

} // namespace

QString ArchiveDialogFilter()
{
    // Every book file first; then PCO and ZIP books together, as they always stood, and
    // one entry for each kind read through libarchive.
    struct Entry {
        QStringList kinds, shown, patterns;
    };
    Entry all;
    std::vector<std::pair<ArchiveKind, Entry>> entries;
    for (const ArchiveExtension& row : ArchiveExtensions()) {
        const QString upper = QString::fromUtf8(row.extension.data(), qsizetype(row.extension.size())).toUpper();
        const ArchiveKind group = row.kind == ArchiveKind::Pco ? ArchiveKind::Zip : row.kind;
        if (entries.empty() || entries.back().first != group)
            entries.push_back({group, Entry()});
        for (Entry* entry : {&all, &entries.back().second}) {
            entry->kinds << upper.mid(1);
            entry->shown << u'*' + upper;
            entry->patterns << u'*' + upper << u'*' + upper.toLower();
        }
    }
    QStringList filters{
        QString::fromUtf8(viewtext::kAllBooksFilter).arg(all.shown.join(u';'), all.patterns.join(u' '))};
    for (const auto& [kind, entry] : entries)
        filters << QString::fromUtf8(viewtext::kArchiveFilter)
                       .arg(entry.kinds.join(u','), entry.shown.join(u';'), entry.patterns.join(u' '));
    return filters.join(QStringLiteral(";;"));
}

ViewDialogs DefaultViewDialogs(QWidget* owner)
{
    ViewDialogs dialogs;
    dialogs.chooseImageFiles = [owner](const std::string& start) { return ChooseImageFiles(owner, start); };
    dialogs.chooseFolder = [owner](const std::string& start) { return ChooseFolder(owner, start); };
    dialogs.chooseArchive = [owner](const std::string& start) { return ChooseArchive(owner, start); };
    dialogs.choosePage = [owner](const std::vector<std::string>& pages, std::size_t current) {
        return ChoosePage(owner, pages, current);
    };
    return dialogs;
}
