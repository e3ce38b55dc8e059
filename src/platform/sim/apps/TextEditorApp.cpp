#include "TextEditorApp.h"

#include "ports/KeyCodes.h"

namespace fenwold {

void TextEditorApp::Document::replaceSelection(const QString& with, bool typed) {
    if (with.isEmpty() && cursor == anchor) return;
    if (!(typed && typing && cursor == anchor)) undo.push_back(*this);
    typing = typed;
    redo.clear();
    const int start = from();
    text.replace(start, to() - start, with);
    cursor = anchor = start + static_cast<int>(with.size());
}

void TextEditorApp::Document::moveTo(int position, bool extend) {
    typing = false;
    cursor = std::clamp(position, 0, static_cast<int>(text.size()));
    if (!extend) anchor = cursor;
}

int TextEditorApp::Document::wordBefore() const {
    int at = cursor;
    while (at > 0 && !text[at - 1].isLetterOrNumber())
        --at;
    while (at > 0 && text[at - 1].isLetterOrNumber())
        --at;
    return at;
}

int TextEditorApp::Document::wordAfter() const {
    const int size = static_cast<int>(text.size());
    int at = cursor;
    while (at < size && !text[at].isLetterOrNumber())
        ++at;
    while (at < size && text[at].isLetterOrNumber())
        ++at;
    return at;
}

void TextEditorApp::Document::step(std::vector<State>& back, std::vector<State>& forward) {
    if (back.empty()) return;
    forward.push_back(*this);
    typing = false;
    static_cast<State&>(*this) = back.back();
    back.pop_back();
}

TextEditorApp::TextEditorApp(SimSession& session)
    : SimApplication(session, "com.apple.TextEdit", "TextEdit") {}

uint32_t TextEditorApp::newDocument(const QString& title, Rect frame, const QString& text) {
    const uint32_t number = openWindow(title, frame);
    Document doc;
    doc.text = text;
    doc.cursor = doc.anchor = static_cast<int>(text.size());
    docs_[number] = doc;
    return number;
}

QString TextEditorApp::text(uint32_t window) const {
    auto it = docs_.find(window);
    return it == docs_.end() ? QString() : it->second.text;
}

QString TextEditorApp::selectedText(uint32_t window) const {
    auto it = docs_.find(window);
    if (it == docs_.end()) return {};
    return it->second.text.mid(it->second.from(), it->second.to() - it->second.from());
}

QStringList TextEditorApp::content(uint32_t window) const {
    auto it = docs_.find(window);
    if (it == docs_.end()) return {};
    const Document& d = it->second;
    // The caret shows as a bar; a selection between corner brackets.
    QString shown = d.text;
    if (d.cursor == d.anchor) {
        shown.insert(d.cursor, QChar(0x2502));
    } else {
        shown.insert(d.to(), QChar(0x231F));
        shown.insert(d.from(), QChar(0x231C));
    }
    return shown.split(QLatin1Char('\n'));
}

bool TextEditorApp::handleKey(std::optional<uint32_t> window, const AppKey& key) {
    if (key.command() && !key.option() && !key.control() && letter(key) == u'n') {
        ++untitled_;
        newDocument(untitled_ == 1 ? QStringLiteral("Untitled")
                                   : QStringLiteral("Untitled %1").arg(untitled_),
                    {200.0 + 30 * untitled_, 120.0 + 30 * untitled_, 560, 380});
        return true;
    }
    if (!window) return false;
    auto it = docs_.find(*window);
    if (it == docs_.end()) return false;
    Document& d = it->second;
    const bool extend = key.shift();
    const int lineStart =
        d.cursor == 0 ? 0 : static_cast<int>(d.text.lastIndexOf(QLatin1Char('\n'), d.cursor - 1)) + 1;
    int lineEnd = static_cast<int>(d.text.indexOf(QLatin1Char('\n'), d.cursor));
    if (lineEnd < 0) lineEnd = static_cast<int>(d.text.size());

    if (key.command() && !key.control() && !key.option() && letter(key) == u'z') {
        if (key.shift())
            d.step(d.redo, d.undo);
        else
            d.step(d.undo, d.redo);
        return true;
    }
    if (key.option() && !key.command() && !key.control() &&
        (key.keyCode == kDelete || key.keyCode == kFwdDelete)) {
        if (d.cursor == d.anchor) d.anchor = key.keyCode == kDelete ? d.wordBefore() : d.wordAfter();
        d.replaceSelection({});
        return true;
    }
    if (key.command() && !key.control() && !key.option()) {
        switch (letter(key)) {
        case u'a':
            d.anchor = 0, d.cursor = static_cast<int>(d.text.size());
            return true;
        case u'c':
            if (d.cursor != d.anchor) copyText(selectedText(*window));
            return true;
        case u'x':
            if (d.cursor == d.anchor) return true;
            copyText(selectedText(*window));
            d.replaceSelection({});
            return true;
        case u'v':
            if (auto pasted = pastedText()) d.replaceSelection(*pasted);
            return true;
        default:
            break;
        }
        switch (key.keyCode) {
        case kLeft:
            d.moveTo(lineStart, extend);
            return true;
        case kRight:
            d.moveTo(lineEnd, extend);
            return true;
        case kUp:
            d.moveTo(0, extend);
            return true;
        case kDown:
            d.moveTo(static_cast<int>(d.text.size()), extend);
            return true;
        default:
            return false;
        }
    }
    if (key.control() || key.command()) return false;
    switch (key.keyCode) {
    case kLeft:
        d.moveTo(d.cursor != d.anchor && !extend ? d.from() : d.cursor - 1, extend);
        return true;
    case kRight:
        d.moveTo(d.cursor != d.anchor && !extend ? d.to() : d.cursor + 1, extend);
        return true;
    case kUp:
        d.moveTo(lineStart > 0 ? lineStart - 1 : 0, extend);
        return true;
    case kDown:
        d.moveTo(lineEnd < d.text.size() ? lineEnd + 1 : lineEnd, extend);
        return true;
    case kHome:
        d.moveTo(lineStart, extend);
        return true;
    case kEnd:
        d.moveTo(lineEnd, extend);
        return true;
    case kDelete:
        if (d.cursor == d.anchor) d.anchor = std::max(0, d.cursor - 1);
        d.replaceSelection({});
        return true;
    case kFwdDelete:
        if (d.cursor == d.anchor) d.anchor = std::min(static_cast<int>(d.text.size()), d.cursor + 1);
        d.replaceSelection({});
        return true;
    case kReturn:
        d.replaceSelection(QStringLiteral("\n"));
        return true;
    default:
        break;
    }
    if (key.option()) return false;
    if (const auto c = typed(key)) {
        d.replaceSelection(QString(*c), true);
        return true;
    }
    return false;
}

} // namespace fenwold
