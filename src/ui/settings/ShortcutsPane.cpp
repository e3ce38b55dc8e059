#include "ShortcutsPane.h"

#include "ExcludedAppsView.h"
#include "PaneLayout.h"
#include "core/settings/Prefs.h"
#include "core/settings/SettingsContent.h"

#include <QFontDatabase>
#include <QHBoxLayout>

namespace fenwold {

namespace {
constexpr int kListWidth = 560;
constexpr int kListHeight = 400;
constexpr int kDetailWidth = 536;
constexpr int kKeysColumn = 190;
} // namespace

RemapRowWidget::RemapRowWidget(const Remap& remap, PrefsStore& prefs, QWidget* parent)
    : QWidget(parent), remap_(remap), prefs_(prefs), box_(new QCheckBox),
      purpose_(new QLabel(remap.purpose)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(box_);
    auto* keys = new QLabel(remap.keys);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(12);
    mono.setWeight(QFont::Medium);
    keys->setFont(mono);
    keys->setFixedWidth(kKeysColumn);
    // The longest (PrtScn · Alt+PrtScn · Shift+PrtScn) take a second line rather than lose a key.
    keys->setWordWrap(true);
    keys->setMinimumHeight(keys->heightForWidth(kKeysColumn));
    keys_ = keys;
    layout->addWidget(keys);
    QFont font = purpose_->font();
    font.setPixelSize(12);
    purpose_->setFont(font);
    layout->addWidget(purpose_);
    layout->addStretch(1);
    connect(box_, &QCheckBox::toggled, this,
            [this, key = remap.key](bool on) { Prefs(prefs_).set(key, on); });
}

void RemapRowWidget::refresh(bool swapped) {
    const bool on = Prefs(prefs_).flag(remap_.key);
    {
        const QSignalBlocker quiet(box_);
        box_->setChecked(on);
    }
    box_->setEnabled(!rowDisabled(remap_, swapped));
    box_->setAccessibleName(rowAccessibilityLabel(remap_, swapped));
    purpose_->setForegroundRole(on ? QPalette::WindowText : QPalette::PlaceholderText);
}

ShortcutsPane::ShortcutsPane(const SettingsDeps& deps, QWidget* parent) : QWidget(parent), deps_(deps) {
    QVBoxLayout* layout = pane::stack(this, kListWidth);
    PrefsStore& store = *deps_.prefs;
    auto addSwitch = [&](const SwitchText& text, PrefKey key, bool reapply) {
        auto* box = new QCheckBox(text.title);
        connect(box, &QCheckBox::toggled, this, [this, key, reapply](bool on) {
            Prefs(*deps_.prefs).set(key, on);
            if (reapply && deps_.reapplyKeyMapping) deps_.reapplyKeyMapping();
            refresh();
        });
        return box;
    };
    swap_ = addSwitch(swapSwitchText(), PrefKey::swapCtrlCmd, true);
    layout->addWidget(pane::option(swap_, swapSwitchText().detail));
    caps_ = addSwitch(capsGlobeSwitchText(), PrefKey::capsGlobe, true);
    QWidget* capsRow = pane::option(caps_, capsGlobeSwitchText().detail);
    auto* command = new QLabel(f19GlobeCommand());
    command->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    command->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    command->setContentsMargins(20, 0, 0, 0);
    capsRow->layout()->addWidget(command);
    layout->addWidget(capsRow);
    layout->addWidget(pane::divider());
    master_ = addSwitch(masterSwitchText(), PrefKey::shortcutsEnabled, false);
    layout->addWidget(pane::option(master_, masterSwitchText().detail));

    list_ = new QListWidget;
    list_->setFixedSize(kListWidth, kListHeight);
    list_->setAlternatingRowColors(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const RemapSection& section : remapSections()) {
        auto* header = new QListWidgetItem(section.name, list_);
        header->setFlags(Qt::ItemIsEnabled);
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        headings_.emplace_back(header, &section);
        for (const Remap& remap : section.rows) {
            auto* item = new QListWidgetItem(list_);
            item->setData(Qt::UserRole, remap.pref());
            auto* row = new RemapRowWidget(remap, store);
            item->setSizeHint(row->sizeHint());
            list_->setItemWidget(item, row);
            rows_[remap.pref()] = row;
        }
    }
    connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        selected_ = item ? item->data(Qt::UserRole).toString() : QString();
        refreshDetail();
    });
    layout->addWidget(list_);

    auto* area = new QFrame;
    area->setObjectName(QStringLiteral("detailArea"));
    area->setFixedWidth(kDetailWidth);
    area->setMinimumHeight(96);
    area->setStyleSheet(
        QStringLiteral("#detailArea { background: rgba(128,128,128,0.10); border-radius: 8px; }"));
    auto* areaLayout = new QVBoxLayout(area);
    areaLayout->setContentsMargins(12, 12, 12, 12);
    areaLayout->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    heading_ = new QLabel;
    QFont headingFont = heading_->font();
    headingFont.setPixelSize(12);
    headingFont.setWeight(QFont::DemiBold);
    heading_->setFont(headingFont);
    detail_ = pane::detailLabel(QString());
    detail_->setFixedWidth(kDetailWidth - 24);
    areaLayout->addWidget(heading_);
    areaLayout->addWidget(detail_);
    pickerRow_ = new QWidget;
    auto* pickerLayout = new QHBoxLayout(pickerRow_);
    pickerLayout->setContentsMargins(0, 0, 0, 0);
    pickerLayout->addWidget(new QLabel(kAltF4PickerTitle));
    picker_ = new QComboBox;
    for (AltF4Action action : kAltF4Actions)
        picker_->addItem(pickerLabel(action), rawValue(action));
    pickerLayout->addWidget(picker_);
    pickerLayout->addStretch(1);
    areaLayout->addWidget(pickerRow_);
    connect(picker_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) return;
        writeAltF4Action(Prefs(*deps_.prefs), kAltF4Actions[static_cast<std::size_t>(index)]);
        refreshDetail();
    });
    layout->addWidget(area);
    excluded_ = new ExcludedAppsView(deps_);
    layout->addWidget(excluded_);
    refresh();
}

void ShortcutsPane::refresh() {
    const Prefs prefs(*deps_.prefs);
    const bool swapped = prefs.swapCtrlCmd();
    for (auto [box, on] :
         {std::pair{swap_, swapped}, {caps_, prefs.capsGlobe()}, {master_, prefs.shortcutsEnabled()}}) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
    for (auto& [item, section] : headings_)
        item->setText(sectionHeading(*section, swapped));
    for (auto& [pref, row] : rows_)
        row->refresh(swapped);
    const bool enabled = prefs.shortcutsEnabled();
    // Disabled, the rows draw dimmed. (A graphics effect would dim them too, but draws the list
    // and its row widgets apart wherever the window is shown scaled, as in the playground.)
    list_->setEnabled(enabled);
    refreshDetail();
    excluded_->refresh();
}

void ShortcutsPane::refreshDetail() {
    const Prefs prefs(*deps_.prefs);
    const Remap* row = selected_.isEmpty() ? nullptr : remapNamed(selected_);
    heading_->setText(row ? fenwold::detailHeading(row->keys, row->purpose, true)
                          : fenwold::detailHeading({}, {}, false));
    detail_->setText(fenwold::detailText(row, prefs));
    const bool altF4 = row && row->key == PrefKey::altF4;
    pickerRow_->setVisible(altF4);
    {
        const QSignalBlocker quiet(picker_);
        picker_->setCurrentIndex(static_cast<int>(readAltF4Action(prefs)));
    }
    picker_->setEnabled(altF4PickerEnabled(prefs));
}

void ShortcutsPane::select(const QString& pref) {
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->data(Qt::UserRole).toString() == pref && !pref.isEmpty()) {
            list_->setCurrentRow(i);
            return;
        }
    }
    list_->setCurrentItem(nullptr);
    selected_.clear();
    refreshDetail();
}

RemapRowWidget* ShortcutsPane::row(const QString& pref) const {
    auto it = rows_.find(pref);
    return it == rows_.end() ? nullptr : it->second;
}

QStringList ShortcutsPane::sectionHeadings() const {
    QStringList out;
    for (const auto& [item, section] : headings_)
        out << item->text();
    return out;
}

} // namespace fenwold
