// SPDX-License-Identifier: MIT
#include "platform/ui/file_dialog.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

#include "platform/ui/dialog.h"
#include "platform/ui/file_filter.h"
#include "platform/ui/initial_folder.h"
#include "platform/ui/seam_state.h"

namespace {

struct SeamAnswer {
    int result;
    std::string path;
};

ui::SeamState<SeamAnswer, FileDialogRequest>& Seam() {
    static ui::SeamState<SeamAnswer, FileDialogRequest> state;
    return state;
}

// The folder the last file dialog of this run ended in.
std::string& LastFolder() {
    static std::string folder;
    return folder;
}

QString FromBytes(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

std::string ToBytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

// `path` when it exists, else the first entry of its folder (by name) whose name differs from
// its name only in the case of the extension; empty when there is none. The instrument spells
// its files "NAME.PCG", while filters and typing tend to lower case.
QString WithExtensionInAnyCase(const QString& path) {
    const QFileInfo wanted(path);
    if (wanted.exists()) {
        return path;
    }
    const QString name = wanted.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0) {
        return {};
    }
    const QDir folder = wanted.dir();
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (entry.size() == name.size() && entry.startsWith(name.left(dot + 1)) &&
            entry.compare(name, Qt::CaseInsensitive) == 0) {
            return folder.filePath(entry);
        }
    }
    return {};
}

// The toolkit's dialog, completed with the extension rule of the platform's explorer-style
// dialogs, which the toolkit applies only to names without any "." and without regard to the
// selected filter.
class FileDialogWindow : public QFileDialog {
public:
    FileDialogWindow(QWidget* owner, bool open, unsigned long flags,
                     std::vector<ui::FileFilter> filters, std::string defaultExtension)
        : QFileDialog(owner),
          m_open(open),
          m_flags(flags),
          m_filters(std::move(filters)),
          m_defaultExtension(std::move(defaultExtension)) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (files.size() == 1 && !QFileInfo(files.front()).isDir()) {
            const std::string typed = ToBytes(files.front());
            const std::string completed =
                ui::WithDefaultExtension(typed, SelectedFilter(), m_defaultExtension);
            if (m_open) {
                // An open dialog tries the name as typed first.
                if (completed != typed && !QFileInfo::exists(files.front())) {
                    const QString existing = WithExtensionInAnyCase(FromBytes(completed));
                    if (!existing.isEmpty()) {
                        Retype(existing);
                    }
                }
            } else {
                if ((m_flags & OFN_PATHMUSTEXIST) &&
                    !QFileInfo(QFileInfo(FromBytes(completed)).absolutePath()).isDir()) {
                    QMessageBox::warning(this, windowTitle(),
                                         tr("The folder of %1 does not exist.\nCheck the path.")
                                             .arg(FromBytes(completed)));
                    return;
                }
                if (completed != typed) {
                    Retype(FromBytes(completed));
                }
            }
        }
        QFileDialog::accept();
    }

private:
    // Puts `path` in the name field, from where the dialog's own checks (overwrite prompt,
    // existence) take it. selectFile() leaves a focused name field alone, so it cannot serve.
    void Retype(const QString& path) {
        if (auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            const QFileInfo file(path);
            const bool here = file.absolutePath() == directory().absolutePath();
            field->setText(here ? file.fileName() : path);
        } else {
            selectFile(path);
        }
    }

    const ui::FileFilter* SelectedFilter() const {
        const QStringList shown = nameFilters();
        const qsizetype index = shown.indexOf(selectedNameFilter());
        return index >= 0 && static_cast<std::size_t>(index) < m_filters.size() ? &m_filters[index]
                                                                                : nullptr;
    }

    bool m_open;
    unsigned long m_flags;
    std::vector<ui::FileFilter> m_filters;
    std::string m_defaultExtension;
};

}  // namespace

struct CFileDialog::Impl {
    bool open;
    std::string defaultExtension;
    std::string fileName;
    unsigned long flags;
    std::string filter;
    CDialog* owner;
    std::string pathName;
};

CFileDialog::CFileDialog(bool openFileDialog, const char* defExt, const char* fileName,
                         unsigned long flags, const char* filter, CDialog* pParentWnd)
    : d(std::make_unique<Impl>(Impl{openFileDialog,
                                    defExt ? defExt : "",
                                    fileName ? fileName : "",
                                    flags,
                                    filter ? filter : "",
                                    pParentWnd,
                                    {}})) {}

CFileDialog::~CFileDialog() = default;

int CFileDialog::DoModal() {
    QWidget* owner = CDialog::OwnerWindowFor(d->owner);
    const std::vector<ui::FileFilter> filters = ui::ParseFileFilters(d->filter);
    QStringList nameFilters;
    std::vector<std::string> shownFilters;
    for (const ui::FileFilter& filter : filters) {
        shownFilters.push_back(ui::ToolkitNameFilter(filter));
        nameFilters << FromBytes(shownFilters.back());
    }

    const std::string initialFolder =
        ui::InitialFolder(m_ofn.lpstrInitialDir, LastFolder(), ToBytes(QDir::homePath()));

    if (const auto answer = Seam().Take({d->open, d->defaultExtension, d->fileName, d->flags,
                                         d->filter, shownFilters, owner, initialFolder})) {
        if (answer->result == IDOK) {
            d->pathName = answer->path;
            if (!answer->path.empty()) {
                LastFolder() = ui::FolderOfPath(answer->path);
            }
        }
        return answer->result;
    }

    FileDialogWindow dialog(owner, d->open, d->flags, filters, d->defaultExtension);
    // The toolkit's own dialog, so that the extension rule above applies everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(d->open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(d->open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     d->open || (d->flags & OFN_OVERWRITEPROMPT) == 0);
    dialog.setWindowTitle(d->open ? QObject::tr("Open") : QObject::tr("Save As"));
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        dialog.selectNameFilter(nameFilters.front());
    }
    dialog.setDirectory(FromBytes(initialFolder));
    if (!d->fileName.empty()) {
        dialog.selectFile(FromBytes(d->fileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        LastFolder() = ToBytes(dialog.directory().absolutePath());
        return IDCANCEL;
    }
    const QFileInfo chosen(dialog.selectedFiles().front());
    d->pathName = ToBytes(chosen.absoluteFilePath());
    LastFolder() = ToBytes(chosen.absolutePath());
    return IDOK;
}

std::string CFileDialog::GetPathName() const {
    return d->pathName;
}

unsigned long CFileDialog::Flags() const {
    return d->flags;
}

void FileDialogSeam::QueueAnswer(int result, const std::string& path) {
    Seam().QueueAnswer({result, path});
}

const std::vector<FileDialogRequest>& FileDialogSeam::Requests() {
    return Seam().Requests();
}

void FileDialogSeam::Reset() {
    Seam().Reset();
    LastFolder().clear();
}
