#include "Appcast.h"

#include <QXmlStreamReader>

namespace fenwold {

namespace {

enum class Run { number, text, separator };

Run kindOf(QChar c) {
    if (c.isDigit()) return Run::number;
    if (c == u'.' || c.isPunct() || c.isSpace()) return Run::separator;
    return Run::text;
}

struct Part {
    Run kind;
    QString text;
};

std::vector<Part> split(const QString& version) {
    std::vector<Part> parts;
    for (QChar c : version.trimmed()) {
        const Run k = kindOf(c);
        // Each separator stands alone; digits and letters gather into runs.
        if (!parts.empty() && parts.back().kind == k && k != Run::separator)
            parts.back().text += c;
        else
            parts.push_back({k, QString(c)});
    }
    return parts;
}

QStringView withoutLeadingZeros(QStringView digits) {
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    return digits;
}

// Compares digit runs as numbers of any length, so long build numbers never overflow.
int compareNumbers(const QString& a, const QString& b) {
    const QStringView x = withoutLeadingZeros(a);
    const QStringView y = withoutLeadingZeros(b);
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

} // namespace

int compareVersions(const QString& a, const QString& b) {
    const auto pa = split(a);
    const auto pb = split(b);
    const std::size_t common = std::min(pa.size(), pb.size());
    for (std::size_t i = 0; i < common; ++i) {
        const Part& x = pa[i];
        const Part& y = pb[i];
        if (x.kind == y.kind) {
            int c = 0;
            if (x.kind == Run::number)
                c = compareNumbers(x.text, y.text);
            else if (x.kind == Run::text)
                c = x.text.compare(y.text);
            if (c != 0) return c < 0 ? -1 : 1;
            continue;
        }
        // Text after an equal prefix marks a pre-release; a number beats a separator.
        if (x.kind != Run::text && y.kind == Run::text) return 1;
        if (x.kind == Run::text && y.kind != Run::text) return -1;
        return x.kind == Run::number ? 1 : -1;
    }
    if (pa.size() == pb.size()) return 0;
    const bool aLonger = pa.size() > pb.size();
    const Part& extra = aLonger ? pa[common] : pb[common];
    // "1.0b" is older than "1.0"; "1.0.1" is newer than "1.0".
    const bool longerIsNewer = extra.kind != Run::text;
    return (aLonger == longerIsNewer) ? 1 : -1;
}

std::variant<std::vector<AppcastItem>, QString> parseAppcast(const QByteArray& feed) {
    QXmlStreamReader xml(feed);
    std::vector<AppcastItem> items;
    bool sawChannel = false;
    std::optional<AppcastItem> item;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == u"channel")
                sawChannel = true;
            else if (name == u"item")
                item.emplace();
            else if (item && name == u"enclosure") {
                const auto attrs = xml.attributes();
                for (const auto& attr : attrs) {
                    if (attr.name() == u"url")
                        item->fileURL = QUrl(attr.value().toString());
                    else if (attr.name() == u"version" && item->version.isEmpty())
                        item->version = attr.value().toString();
                    else if (attr.name() == u"shortVersionString" && item->displayVersion.isEmpty())
                        item->displayVersion = attr.value().toString();
                }
            } else if (item && name == u"version") {
                item->version = xml.readElementText().trimmed();
            } else if (item && name == u"shortVersionString") {
                item->displayVersion = xml.readElementText().trimmed();
            } else if (item && name == u"minimumSystemVersion") {
                const QString v = xml.readElementText().trimmed();
                if (!v.isEmpty()) item->minimumSystemVersion = v;
            }
        } else if (xml.isEndElement() && xml.name() == u"item" && item) {
            // An item without a version cannot be compared, so it cannot be offered.
            if (!item->version.isEmpty()) {
                if (item->displayVersion.isEmpty()) item->displayVersion = item->version;
                items.push_back(*item);
            }
            item.reset();
        }
    }
    if (xml.hasError()) {
        return QStringLiteral("The update feed could not be read: %1 (line %2)")
            .arg(xml.errorString())
            .arg(xml.lineNumber());
    }
    if (!sawChannel) return QStringLiteral("The update feed has no channel.");
    return items;
}

std::optional<AppcastItem> bestUpdate(const std::vector<AppcastItem>& items, const QString& runningBuild,
                                      const QString& systemVersion) {
    std::optional<AppcastItem> best;
    for (const auto& item : items) {
        if (item.minimumSystemVersion && compareVersions(*item.minimumSystemVersion, systemVersion) > 0)
            continue;
        if (compareVersions(item.version, runningBuild) <= 0) continue;
        if (!best || compareVersions(item.version, best->version) > 0) best = item;
    }
    return best;
}

} // namespace fenwold
