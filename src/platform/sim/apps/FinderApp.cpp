#include "FinderApp.h"

#include "ports/KeyCodes.h"

#include <QUrl>
#include <algorithm>

namespace fenwold {

FinderApp::FinderApp(SimSession& session) : SimApplication(session, "com.apple.finder", "Finder") {
    setFocusRole(QStringLiteral("AXOutline"));
    addMenuItem(QStringLiteral("Go"), QStringLiteral("Back"), QStringLiteral("["), [this] {
        const auto window = focusedWindow();
        if (!window) return;
        if (auto it = folders_.find(*window); it != folders_.end()) back(*window, it->second);
    });
}

void FinderApp::back(uint32_t window, Folder& folder) {
    if (!folder.back.isEmpty()) show(window, folder, folder.back.takeLast(), false);
}

namespace {

const QString kHomeFolder = QStringLiteral("sam");

} // namespace

uint32_t FinderApp::openFolder(const QString& folder, const QStringList& files, Rect frame) {
    const uint32_t number = openWindow(folder, frame);
    folders_[number] = Folder{folder, files, 0, std::nullopt, {}, {}};
    contents_[folder] = files;
    return number;
}

QString FinderApp::folder(uint32_t window) const {
    auto it = folders_.find(window);
    return it == folders_.end() ? QString() : it->second.name;
}

QString FinderApp::info(uint32_t window) const {
    auto it = folders_.find(window);
    return it == folders_.end() ? QString() : it->second.info;
}

void FinderApp::show(uint32_t window, Folder& f, const QString& name, bool remember) {
    if (f.name != kHomeFolder) contents_[f.name] = f.files;
    if (remember) f.back << f.name;
    const QString from = f.name;
    f.name = name;
    if (name == kHomeFolder) {
        f.files.clear();
        for (const auto& [folder, files] : contents_)
            f.files << folder;
    } else {
        f.files = contents_[name];
    }
    // Up from a folder selects it in the one that holds it.
    f.selection = std::max(0, static_cast<int>(f.files.indexOf(from)));
    f.info.clear();
    session_.windows.setTitle(window, name);
}

QStringList FinderApp::files(uint32_t window) const {
    auto it = folders_.find(window);
    return it == folders_.end() ? QStringList() : it->second.files;
}

QString FinderApp::selected(uint32_t window) const {
    auto it = folders_.find(window);
    if (it == folders_.end() || it->second.files.isEmpty()) return {};
    return it->second.files.value(it->second.selection);
}

bool FinderApp::renaming(uint32_t window) const {
    auto it = folders_.find(window);
    return it != folders_.end() && it->second.rename.has_value();
}

QStringList FinderApp::content(uint32_t window) const {
    auto it = folders_.find(window);
    if (it == folders_.end()) return {};
    const Folder& f = it->second;
    QStringList lines;
    for (int i = 0; i < f.files.size(); ++i) {
        const bool sel = i == f.selection;
        const QString name =
            sel && f.rename ? QStringLiteral("[%1%2]").arg(*f.rename, QChar(0x2502)) : f.files[i];
        lines << (sel ? QStringLiteral("\u25B6 ") : QStringLiteral("   ")) + name;
    }
    if (f.files.isEmpty()) lines << QStringLiteral("   (empty)");
    if (!f.info.isEmpty()) lines << QString() << QStringLiteral("\u24D8 Info: %1").arg(f.info);
    return lines;
}

void FinderApp::pasteInto(Folder& folder, bool move) {
    if (!copied_) return;
    auto source = folders_.find(copied_->window);
    if (move) {
        if (source == folders_.end() || !source->second.files.contains(copied_->file)) return;
        if (&source->second == &folder) return;
        source->second.files.removeAll(copied_->file);
        source->second.selection =
            std::clamp(source->second.selection, 0, std::max(0, int(source->second.files.size()) - 1));
        folder.files << copied_->file;
        copied_.reset();
    } else {
        QString name = copied_->file;
        while (folder.files.contains(name)) {
            const int dot = static_cast<int>(name.lastIndexOf(QLatin1Char('.')));
            name = dot > 0 ? name.left(dot) + QStringLiteral(" copy") + name.mid(dot)
                           : name + QStringLiteral(" copy");
        }
        folder.files << name;
    }
    folder.selection = static_cast<int>(folder.files.size()) - 1;
}

bool FinderApp::renameKey(Folder& f, const AppKey& key) {
    if (key.keyCode == kReturn || key.keyCode == kKeypadEnter) {
        if (!f.rename->isEmpty() && !f.files.contains(*f.rename)) f.files[f.selection] = *f.rename;
        f.rename.reset();
    } else if (key.keyCode == kEsc) {
        f.rename.reset();
    } else if (key.keyCode == kDelete) {
        f.rename->chop(1);
    } else if (key.plain()) {
        if (const auto c = typed(key)) *f.rename += *c;
    }
    setFocusRole(f.rename ? QStringLiteral("AXTextField") : QStringLiteral("AXOutline"));
    return true;
}

bool FinderApp::handleKey(std::optional<uint32_t> window, const AppKey& key) {
    if (!window) return false;
    auto it = folders_.find(*window);
    if (it == folders_.end()) return false;
    Folder& f = it->second;
    if (f.rename) return renameKey(f, key);
    const int count = static_cast<int>(f.files.size());
    if (key.command() && !key.control()) {
        const char16_t l = letter(key);
        if (key.keyCode == kUp) {
            if (f.name != kHomeFolder) show(*window, f, kHomeFolder, true);
            return true;
        }
        if (l == u'[') {
            back(*window, f);
            return true;
        }
        if (l == u'i') {
            if (count > 0) f.info = f.files[f.selection];
            return true;
        }
        if (l == u'o' || key.keyCode == kDown) {
            if (count == 0) return true;
            if (contents_.count(f.files[f.selection])) {
                show(*window, f, f.files[f.selection], true);
                return true;
            }
            opened_ << f.files[f.selection];
            session_.workspace.open(
                QUrl::fromLocalFile(QStringLiteral("/Users/sam/%1/%2").arg(f.name, f.files[f.selection])));
            return true;
        }
        if (key.keyCode == kDelete) {
            if (count == 0) return true;
            trash_ << f.files.takeAt(f.selection);
            f.selection = std::clamp(f.selection, 0, std::max(0, count - 2));
            return true;
        }
        if (l == u'c') {
            if (count == 0) return true;
            copied_ = Copied{*window, f.files[f.selection]};
            session_.pasteboard.write({PasteboardItem{
                {{QStringLiteral("public.file-url"),
                  QUrl::fromLocalFile(QStringLiteral("/Users/sam/%1/%2").arg(f.name, f.files[f.selection]))
                      .toEncoded()}}}});
            return true;
        }
        if (l == u'v') {
            pasteInto(f, key.option());
            return true;
        }
        return false;
    }
    if (!key.plain()) return false;
    switch (key.keyCode) {
    case kUp:
        f.selection = std::max(0, f.selection - 1);
        return true;
    case kDown:
        f.selection = std::min(std::max(0, count - 1), f.selection + 1);
        return true;
    case kReturn:
        if (count == 0) return true;
        f.rename = f.files[f.selection];
        setFocusRole(QStringLiteral("AXTextField"));
        return true;
    default:
        return false;
    }
}

} // namespace fenwold
