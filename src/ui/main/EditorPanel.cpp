// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/EditorPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

#include "edit/FieldRule.h"
#include "map/FileLayout.h"
#include "map/TypeTables.h"
#include "ui/main/EditorLayout.h"
#include "ui/shell/CaptionFit.h"
#include "ui/shell/MapText.h"
#include "ui/shell/TokenColours.h"

namespace quorin::ui {

namespace {

// Controls are placed in window coordinates; a page starts where the panel does.
QRect OnPage(const Place& place) {
    return {place.left - kPagesPlace.left, place.top - kPagesPlace.top, place.width, place.height};
}

template <std::size_t N>
QStringList ItemTexts(const std::array<std::string_view, N>& names) {
    QStringList items;
    for (std::string_view name : names) items << FromMapText(name);
    return items;
}

constexpr const char* kCredits =
    "Quorin shows the scripts, globals and syntax nodes stored in a Vexa map "
    "and lets you change their fields in place.\n\n"
    "Every change is written into the map file the moment you press Return "
    "or choose a type. Before the first write, the map is copied to "
    "NAME.map.bak beside it (Script Tools > Back Up Before First Write). "
    "Script Tools > Undo Last Write puts the bytes back, Redo Write writes "
    "them again. A map that changed on disk since it was loaded is never "
    "written: open it again.\n\n"
    "Open a map with File > Open, or File > Open Read-Only just to look at "
    "it; expand a folder on the left and select a row to see its fields "
    "here.\n\n"
    "This is an early version. If something looks wrong, or a map will not "
    "load, please report it to the Quorin developers together with the map "
    "and what you did.";

// The look an edit field has now: 2 when read-only, plus 1 while its text
// is not in the file.
constexpr const char* kLookProperty = "quorinLook";

bool IsName(EditField field) { return RuleFor(field).text == FieldText::Bytes; }

// How a text field looks: text that cannot be typed into shows the window's
// background behind it, as the platform draws read-only text; a field whose
// text is not in the file yet shows its text in italics on a background
// tinted with the selection colour.
void ApplyLook(QWidget& field, bool readOnly, bool notWritten) {
    QPalette palette = QApplication::palette(&field);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        if (readOnly) {
            palette.setBrush(group, QPalette::Base, palette.brush(group, QPalette::Window));
        } else if (notWritten) {
            // A quarter of the way from the text background to the
            // selection colour: the text stays as legible as ever.
            const QColor base = palette.color(group, QPalette::Base);
            const QColor mark = palette.color(group, QPalette::Highlight);
            const auto mix = [](int from, int to) { return from + (to - from) / 4; };
            palette.setColor(group, QPalette::Base,
                             QColor(mix(base.red(), mark.red()), mix(base.green(), mark.green()),
                                    mix(base.blue(), mark.blue())));
        }
    }
    field.setPalette(palette);
    QFont font = field.font();
    font.setItalic(notWritten);
    field.setFont(font);
}

}  // namespace

EditorPanel::EditorPanel(QWidget* parent) : QStackedWidget(parent) {
    setObjectName(QStringLiteral("PageEditor"));
    addCreditsPage();
    std::array<QWidget*, kPageCount> pages{};
    pages[0] = widget(0);
    for (int page = 1; page < kPageCount; ++page) {
        pages[static_cast<std::size_t>(page)] = new QWidget(this);
        addWidget(pages[static_cast<std::size_t>(page)]);
    }
    for (const ControlEntry& entry : kEditorControls) {
        QWidget* page = pages[static_cast<std::size_t>(entry.page)];
        QWidget* control = nullptr;
        switch (entry.kind) {
        case ControlKind::Label:
            control = new QLabel(QString::fromLatin1(entry.caption), page);
            break;
        case ControlKind::LineEdit: {
            auto* field = new QLineEdit(page);
            // A name fills at most its field less the closing zero byte;
            // each character on screen is one byte in the map.
            if (entry.field && IsName(*entry.field)) field->setMaxLength(layout::kLongestName);
            if (entry.field) {
                lineEdits_[*entry.field] = field;
                pages_[*entry.field] = static_cast<EditorPage>(entry.page);
                connect(field, &QLineEdit::textChanged, this, [this, edited = *entry.field] { updateLook(edited); });
            }
            control = field;
            break;
        }
        case ControlKind::Popup: {
            auto* popup = new QComboBox(page);
            popup->addItems(entry.items == Items::ScriptTypes ? ItemTexts(kScriptTypeNames) : ItemTexts(kValueTypeNames));
            popup->setMaxVisibleItems(20);
            if (entry.field) popups_[*entry.field] = popup;
            control = popup;
            break;
        }
        case ControlKind::TextArea: {
            // The page's text is shown, never written: it takes no typing,
            // and looks it. It can still be selected, copied and searched.
            auto* area = new QPlainTextEdit(page);
            area->setReadOnly(true);
            area->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            ApplyLook(*area, true, false);
            textAreas_[static_cast<EditorPage>(entry.page)] = area;
            colours_[static_cast<EditorPage>(entry.page)] = new PartColours(*area);
            control = area;
            break;
        }
        }
        // A map dropped anywhere on the window opens it; no field takes it as text.
        control->setAcceptDrops(false);
        if (auto* area = qobject_cast<QPlainTextEdit*>(control)) area->viewport()->setAcceptDrops(false);
        control->setObjectName(QString::fromLatin1(entry.name));
        control->setGeometry(OnPage(entry.place));
    }
    for (int page = 1; page < kPageCount; ++page) FitCaptions(*pages[static_cast<std::size_t>(page)]);
    for (const auto& [field, edit] : lineEdits_) updateLook(field);
    setCurrentIndex(static_cast<int>(EditorPage::Credits));
    connect(this, &QStackedWidget::currentChanged, this, &EditorPanel::notWrittenChanged);
}

void EditorPanel::addCreditsPage() {
    auto* page = new QWidget(this);
    auto* title = new QLabel(QStringLiteral("Quorin"), page);
    title->setObjectName(QStringLiteral("CreditsTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setGeometry(12, 12, 300, 32);

    auto* subtitle = new QLabel(QStringLiteral("Script viewer and editor for Vexa maps"), page);
    subtitle->setObjectName(QStringLiteral("CreditsSubtitle"));
    subtitle->setGeometry(12, 46, 300, 20);

    auto* notes = new QLabel(QString::fromLatin1(kCredits), page);
    notes->setObjectName(QStringLiteral("CreditsNotes"));
    notes->setWordWrap(true);
    notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notes->setGeometry(12, 82, 300, 300);

    auto* signature = new QLabel(QStringLiteral("Written with care by the Quorin developers."), page);
    signature->setObjectName(QStringLiteral("CreditsSignature"));
    signature->setGeometry(12, 392, 300, 20);
    addWidget(page);
}

QLineEdit* EditorPanel::lineEdit(EditField field) const {
    auto found = lineEdits_.find(field);
    return found == lineEdits_.end() ? nullptr : found->second;
}

QComboBox* EditorPanel::popup(EditField field) const {
    auto found = popups_.find(field);
    return found == popups_.end() ? nullptr : found->second;
}

QPlainTextEdit* EditorPanel::textArea(EditorPage page) const {
    auto found = textAreas_.find(page);
    return found == textAreas_.end() ? nullptr : found->second;
}

void EditorPanel::setFileText(EditField field, const QString& text) {
    fileTexts_[field] = text;
    // A name that runs on past its field in the map is shown whole (the
    // limit would cut it), and can only get shorter.
    if (IsName(field)) lineEdit(field)->setMaxLength(std::max<int>(layout::kLongestName, text.size()));
}

void EditorPanel::showValue(const FieldValue& value) {
    const bool wasFilling = filling_;
    filling_ = true;
    if (QLineEdit* field = lineEdit(value.field)) {
        setFileText(value.field, FromMapText(value.text));
        field->setText(fileTexts_[value.field]);
        field->setCursorPosition(0);
        updateLook(value.field);
    } else if (QComboBox* popup = this->popup(value.field)) {
        // A code with no item (outside the table) leaves no item chosen.
        popup->setCurrentIndex(value.index >= 0 && value.index < popup->count() ? value.index : -1);
    }
    filling_ = wasFilling;
}

void EditorPanel::restoreValue(const FieldValue& value) {
    if (!lineEdit(value.field)) {
        showValue(value);
        return;
    }
    setFileText(value.field, FromMapText(value.text));
    restoreFileValue(value.field);
}

void EditorPanel::restoreFileValue(EditField field) {
    QLineEdit* edit = lineEdit(field);
    if (!edit) return;
    const bool wasFilling = filling_;
    filling_ = true;
    // Typed over rather than set, so the field's own undo keeps the text.
    edit->selectAll();
    edit->insert(fileTexts_[field]);
    edit->setCursorPosition(0);
    filling_ = wasFilling;
    updateLook(field);
}

void EditorPanel::showFill(const PageFill& fill) {
    filling_ = true;
    for (const FieldValue& value : fill.fields) showValue(value);
    if (QPlainTextEdit* area = textArea(fill.page)) {
        colours_.at(fill.page)->showText(FromMapText(fill.text), fill.parts);
    }
    filling_ = false;
    setCurrentIndex(static_cast<int>(fill.page));
    emit notWrittenChanged();
}

void EditorPanel::refreshFill(const PageFill& fill, std::optional<EditField> written) {
    filling_ = true;
    for (const FieldValue& value : fill.fields) {
        QLineEdit* field = lineEdit(value.field);
        if (!field) {
            showValue(value);
        } else if (value.field == written) {
            // Set anew even when the text is the same: that empties the
            // field's own undo, so Edit > Undo can no longer bring back a
            // text the file does not hold.
            const int cursor = field->cursorPosition();
            setFileText(value.field, FromMapText(value.text));
            field->setText(fileTexts_[value.field]);
            field->setCursorPosition(cursor);
            updateLook(value.field);
        } else if (notWritten(value.field)) {
            setFileText(value.field, FromMapText(value.text));
            updateLook(value.field);
        } else if (field->text() != FromMapText(value.text)) {
            showValue(value);
        }
    }
    if (QPlainTextEdit* area = textArea(fill.page)) {
        // Left alone when unchanged, so its scrolling and selection stay; a
        // new text takes its new parts, or the colours would fall where the
        // old text's tokens were.
        const QString text = FromMapText(fill.text);
        if (area->toPlainText() != text) colours_.at(fill.page)->showText(text, fill.parts);
    }
    filling_ = false;
    emit notWrittenChanged();
}

void EditorPanel::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    for (auto& [field, edit] : lineEdits_) {
        edit->setReadOnly(readOnly);
        updateLook(field);
    }
    for (auto& [field, popup] : popups_) popup->setEnabled(!readOnly);
}

void EditorPanel::clearPages() {
    filling_ = true;
    for (auto& [field, edit] : lineEdits_) {
        setFileText(field, QString());
        edit->clear();
        updateLook(field);
    }
    for (auto& [field, popup] : popups_) popup->setCurrentIndex(-1);
    for (auto& [page, area] : textAreas_) area->clear();
    filling_ = false;
    setCurrentIndex(static_cast<int>(EditorPage::Credits));
    emit notWrittenChanged();
}

bool EditorPanel::notWritten(EditField field) const {
    const QLineEdit* edit = lineEdit(field);
    const auto file = fileTexts_.find(field);
    return edit && edit->text() != (file == fileTexts_.end() ? QString() : file->second);
}

bool EditorPanel::pageShowsNotWritten() const {
    for (const auto& [field, page] : pages_) {
        if (static_cast<int>(page) == currentIndex() && notWritten(field)) return true;
    }
    return false;
}

void EditorPanel::updateLook(EditField field) {
    QLineEdit* edit = lineEdit(field);
    if (!edit) return;
    const bool marked = notWritten(field);
    const int look = (readOnly_ ? 2 : 0) + (marked ? 1 : 0);
    const QVariant before = edit->property(kLookProperty);
    if (before.isValid() && before.toInt() == look) return;
    ApplyLook(*edit, readOnly_, marked);
    edit->setProperty(kLookProperty, look);
    emit notWrittenChanged();
}

}  // namespace quorin::ui
