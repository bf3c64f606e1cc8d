// GetOpenFileNameA and GetSaveFileNameA: choosing a file name, with the checks the common
// dialog makes before it lets a name go (path and file must exist, replace an existing file).
#include <commdlg.h>
#include <windows.h>

#include <QFileDialog>
#include <QLineEdit>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "layer.h"
#include "modal.h"

namespace layer {
namespace {

namespace fs = std::filesystem;

const DWORD kSupportedFlags =
    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER;

// One showing of a file dialog.
struct FileRequest {
    bool save = false;
    OPENFILENAMEA* ofn = nullptr;
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters;  // description, pattern
    std::string initialName;
    std::string folder;  // the folder the dialog shows; relative names are taken from it
};

FileRequest makeRequest(OPENFILENAMEA* ofn, bool save) {
    const char* function = save ? "GetSaveFileNameA" : "GetOpenFileNameA";
    if (ofn->lStructSize != sizeof(OPENFILENAMEA))
        unsupported(std::string(function) + " with a structure size of " + std::to_string(ofn->lStructSize));
    if (ofn->Flags & ~kSupportedFlags) unsupported(std::string(function) + " flags " + std::to_string(ofn->Flags));
    if (ofn->lpfnHook || ofn->lpTemplateName || ofn->lpstrCustomFilter)
        unsupported(std::string(function) + " with a hook, template or custom filter");
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) unsupported(std::string(function) + " without a file buffer");

    FileRequest request;
    request.save = save;
    request.ofn = ofn;
    request.title = ofn->lpstrTitle ? ofn->lpstrTitle : (save ? "Save As" : "Open");
    for (const char* at = ofn->lpstrFilter; at && *at;) {
        std::string description = at;
        at += description.size() + 1;
        if (!*at) break;
        std::string pattern = at;
        at += pattern.size() + 1;
        request.filters.emplace_back(description, pattern);
    }
    request.initialName.assign(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
    std::error_code error;
    fs::path initial(request.initialName);
    if (ofn->lpstrInitialDir && *ofn->lpstrInitialDir)
        request.folder = ofn->lpstrInitialDir;
    else if (initial.is_absolute() && fs::is_directory(initial.parent_path(), error))
        request.folder = initial.parent_path().string();
    else
        request.folder = fs::current_path(error).string();
    return request;
}

// The name typed and Open or Save pressed: the full path to return, or an empty text when
// the dialog stays open (a folder was entered, or a check refused the name with a message).
std::string checkChoice(FileRequest& request, const std::string& typed, QWidget* messageParent) {
    if (typed.empty()) return std::string();
    HWND owner = request.ofn->hwndOwner;
    std::error_code error;
    fs::path path(typed);
    if (path.is_relative()) path = fs::path(request.folder) / path;
    path = path.lexically_normal();
    if (fs::is_directory(path, error)) {
        request.folder = path.string();
        return std::string();
    }
    std::string name = path.filename().string();
    if (request.ofn->lpstrDefExt && *request.ofn->lpstrDefExt && !name.empty() && name.find('.') == std::string::npos)
        path += std::string(".") + request.ofn->lpstrDefExt;

    DWORD flags = request.ofn->Flags;
    UINT warning = MB_OK | MB_ICONEXCLAMATION;
    // A name the caller's buffer cannot hold is refused here, while the user can still
    // shorten it, rather than closing the dialog on a name that cannot be handed back.
    if (path.string().size() + 1 > request.ofn->nMaxFile) {
        std::string text = typed + "\nThe path is too long.\nChoose a shorter path and try again.";
        messageBox(owner, messageParent, text.c_str(), request.title.c_str(), warning);
        return std::string();
    }
    if (name.empty() ||
        ((flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !fs::is_directory(path.parent_path(), error))) {
        std::string text = typed + "\nPath does not exist.\nCheck the path and try again.";
        messageBox(owner, messageParent, text.c_str(), request.title.c_str(), warning);
        return std::string();
    }
    bool exists = fs::exists(path, error);
    if ((flags & OFN_FILEMUSTEXIST) && !exists) {
        std::string text = typed + "\nFile not found.\nCheck the file name and try again.";
        messageBox(owner, messageParent, text.c_str(), request.title.c_str(), warning);
        return std::string();
    }
    if (request.save && (flags & OFN_OVERWRITEPROMPT) && exists) {
        std::string text = path.filename().string() + " already exists.\nDo you want to replace it?";
        if (messageBox(owner, messageParent, text.c_str(), "Confirm Save As", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return std::string();
    }
    return path.string();
}

// Hands the chosen path back in the structure; FALSE when the buffer cannot hold it
// (checkChoice has refused such a name already).
BOOL deliver(OPENFILENAMEA* ofn, const std::string& path) {
    if (path.size() + 1 > ofn->nMaxFile) return FALSE;
    std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
    size_t nameStart = path.find_last_of('/') + 1;  // npos + 1 is 0
    size_t dot = path.find_last_of('.');
    ofn->nFileOffset = static_cast<WORD>(nameStart);
    ofn->nFileExtension = static_cast<WORD>(dot != std::string::npos && dot >= nameStart ? dot + 1 : 0);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        std::string name = path.substr(nameStart);
        size_t count = std::min(name.size(), static_cast<size_t>(ofn->nMaxFileTitle - 1));
        std::memcpy(ofn->lpstrFileTitle, name.data(), count);
        ofn->lpstrFileTitle[count] = '\0';
    }
    return TRUE;
}

// The dialog as the driver answers it (it types a name, or cancels), and the name chosen in
// the dialog on the screen.
class FileModal : public ModalWindow {
public:
    explicit FileModal(FileRequest& request) : request_(request) {}

    bool isOpen() const override { return open_; }
    td::ModalKind kind() const override { return request_.save ? td::ModalKind::SaveFile : td::ModalKind::OpenFile; }
    std::string caption() const override { return request_.title; }
    HWND owner() const override { return request_.ofn->hwndOwner; }
    std::string filter() const override {
        std::string joined;
        for (const auto& [description, pattern] : request_.filters)
            joined += (joined.empty() ? "" : "|") + description + "|" + pattern;
        return joined;
    }
    std::string defaultExtension() const override {
        return request_.ofn->lpstrDefExt ? request_.ofn->lpstrDefExt : std::string();
    }
    DWORD flags() const override { return request_.ofn->Flags; }

    void choose(const std::string& path) override {
        if (!openFor("choose")) return;
        std::string chosen = checkChoice(request_, path, nullptr);
        if (chosen.empty()) return;
        chosen_ = chosen;
        open_ = false;
    }
    void cancel() override {
        if (openFor("cancel")) open_ = false;
    }

    void setChosen(const std::string& path) { chosen_ = path; }
    const std::string& chosen() const { return chosen_; }

private:
    FileRequest& request_;
    bool open_ = true;
    std::string chosen_;
};

QString nameFilter(const std::string& description, const std::string& pattern) {
    // Qt takes the patterns from the last parentheses; the description often has them already.
    std::string patterns = pattern;
    for (char& c : patterns)
        if (c == ';') c = ' ';
    std::string suffix = "(" + patterns + ")";
    if (description.size() >= suffix.size() &&
        description.compare(description.size() - suffix.size(), suffix.size(), suffix) == 0)
        return QString::fromLatin1(description.c_str());
    return QString::fromLatin1((description + " " + suffix).c_str());
}

// The real dialog: Qt's own widget dialog, with the common dialog's checks on accepting.
class FileDialogWindow : public QFileDialog {
public:
    FileDialogWindow(FileRequest& request, QWidget* parent) : QFileDialog(parent), request_(request) {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite);
        setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::AnyFile);
        setWindowTitle(QString::fromLatin1(request.title.c_str()));
        QStringList filters;
        for (const auto& [description, pattern] : request.filters) filters << nameFilter(description, pattern);
        if (!filters.isEmpty()) {
            setNameFilters(filters);
            DWORD index = request.ofn->nFilterIndex;
            selectNameFilter(filters.value(index >= 1 && index <= static_cast<DWORD>(filters.size()) ? index - 1 : 0));
        }
        setDirectory(QString::fromLocal8Bit(request.folder.c_str()));
        if (!request.initialName.empty())
            selectFile(QString::fromLocal8Bit(fs::path(request.initialName).filename().string().c_str()));
    }

    const std::string& chosen() const { return chosen_; }

    void accept() override {
        auto* nameEdit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        std::string typed = nameEdit ? nameEdit->text().toLocal8Bit().toStdString() : std::string();
        if (typed.empty()) {
            QFileDialog::accept();  // e.g. a folder picked in the list
            return;
        }
        request_.folder = directory().absolutePath().toLocal8Bit().toStdString();
        std::string folderBefore = request_.folder;
        std::string chosen = checkChoice(request_, typed, this);
        if (!chosen.empty()) {
            chosen_ = chosen;
            QDialog::accept();
        } else if (request_.folder != folderBefore) {
            setDirectory(QString::fromLocal8Bit(request_.folder.c_str()));
            nameEdit->clear();
        }
    }

private:
    FileRequest& request_;
    std::string chosen_;
};

BOOL chooseFileName(OPENFILENAMEA* ofn, bool save) {
    if (!ofn) return FALSE;
    FileRequest request = makeRequest(ofn, save);
    FileModal modal(request);
    runModal(modal, [&] {
        QWidget* owner = widgetOf(ofn->hwndOwner);
        {
            FileDialogWindow dialog(request, owner);
            if (dialog.exec() == QDialog::Accepted) modal.setChosen(dialog.chosen());
        }
        activateOwner(owner);
    });
    std::string chosen = modal.chosen();  // empty when cancelled or left open
    if (chosen.empty()) return FALSE;
    return deliver(ofn, chosen);
}

}  // namespace
}  // namespace layer

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) { return layer::chooseFileName(ofn, false); }

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) { return layer::chooseFileName(ofn, true); }
