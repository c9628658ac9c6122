// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/textedit/TokenTextEdit.h"

#include <Qsci/qscilexercustom.h>

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <algorithm>

#include "ui/shell/MapText.h"
#include "ui/shell/TokenColours.h"

namespace quorin::ui {

namespace {

// The indicator that underlines a refused token.
constexpr int kRefusedIndicator = 8;

const QString kFixedText = QStringLiteral(
    "That is fixed text, which stays as it is: only names, types, numbers, truth words and node texts change.");
const QString kNoLineEnd = QStringLiteral("A line end is fixed text and cannot be typed; Ctrl+Return applies the text.");

bool Printable(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 32 && c.unicode() != 127; });
}

bool Ctrl(const QKeyEvent& key) { return key.modifiers() & Qt::ControlModifier; }
bool Unmodified(const QKeyEvent& key) {
    return !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

// Styles the text by the tokens' spans, with the shared colours; only the
// text's own parentheses are braces, so matching skips those inside names
// and node texts.
class TokenLexer final : public QsciLexerCustom {
public:
    explicit TokenLexer(TokenTextEdit& edit) : QsciLexerCustom(&edit), edit_(edit) {
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        setDefaultFont(font);
        for (int style = 0; style < kTokenStyleCount; ++style) {
            setColor(ColourOf(static_cast<TokenStyle>(style)), style);
            setPaper(Qt::white, style);
            QFont styled = font;
            styled.setBold(IsBold(static_cast<TokenStyle>(style)));
            setFont(styled, style);
        }
    }
    const char* language() const override { return "Quorin script text"; }
    QString description(int style) const override {
        static const char* const kNames[] = {"Fixed text", "Parenthesis", "Type name", "Name",
                                             "Number",     "Truth word",  "Node text"};
        return style >= 0 && style < kTokenStyleCount ? QString::fromLatin1(kNames[style]) : QString();
    }
    int braceStyle() const override { return static_cast<int>(TokenStyle::Parenthesis); }

    void styleText(int start, int end) override {
        const std::string_view text = edit_.document();
        end = std::min<int>(end, static_cast<int>(text.size()));
        if (start >= end) return;
        startStyling(start);
        const auto& spans = edit_.spans_;
        auto span = std::upper_bound(spans.begin(), spans.end(), start,
                                     [](int at, const TokenTextEdit::Span& s) { return at < s.from; });
        if (span != spans.begin() && std::prev(span)->to > start) --span;
        int at = start;
        while (at < end) {
            if (span != spans.end() && span->from <= at && at < span->to) {
                const int stop = std::min(span->to, end);
                const TextPart& part = edit_.parts_[span->part];
                const auto token = text.substr(static_cast<std::size_t>(span->from),
                                               static_cast<std::size_t>(span->to - span->from));
                setStyling(stop - at, static_cast<int>(StyleOfToken(part.kind, token)));
                at = stop;
                ++span;
                continue;
            }
            while (span != spans.end() && span->to <= at) ++span;
            const int stop = span != spans.end() ? std::min(std::max(span->from, at + 1), end) : end;
            // Fixed bytes, in runs of one style.
            while (at < stop) {
                const TokenStyle style = StyleOfFixed(text[static_cast<std::size_t>(at)]);
                int run = at + 1;
                while (run < stop && StyleOfFixed(text[static_cast<std::size_t>(run)]) == style) ++run;
                setStyling(run - at, static_cast<int>(style));
                at = run;
            }
        }
    }

private:
    TokenTextEdit& edit_;
};

TokenTextEdit::TokenTextEdit(QWidget* parent) : QsciScintilla(parent) {
    setUtf8(false);  // one byte, one character
    lexer_ = new TokenLexer(*this);
    setLexer(lexer_);
    setMarginLineNumbers(0, true);
    setMarginsFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setMarginWidth(0, QStringLiteral("00000"));
    setBraceMatching(QsciScintilla::SloppyBraceMatch);
    setMatchedBraceBackgroundColor(QColor(0xffe08a));
    setUnmatchedBraceForegroundColor(QColor(0xd00000));
    setCaretLineVisible(true);
    setCaretLineBackgroundColor(QColor(0xf2f6ff));
    setWrapMode(QsciScintilla::WrapNone);
    // The horizontal scroll bar follows the longest line drawn so far.
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    SendScintilla(SCI_SETMULTIPLESELECTION, 0L);
    indicatorDefine(QsciScintilla::SquiggleIndicator, kRefusedIndicator);
    setIndicatorForegroundColor(QColor(0xd00000), kRefusedIndicator);
    // A map dropped on the window is no text for the field.
    setAcceptDrops(false);
    SendScintilla(SCI_SETREADONLY, 1L);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                modified(position, type, length);
            });
}

TokenTextEdit::~TokenTextEdit() = default;

std::string_view TokenTextEdit::document() const {
    const auto length = static_cast<std::size_t>(SendScintilla(SCI_GETTEXTLENGTH));
    const auto* bytes = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return bytes ? std::string_view(bytes, length) : std::string_view();
}

// Undo and redo are refused by a read-only document, so it is writable
// for the step alone.
bool TokenTextEdit::step(unsigned int can, unsigned int message) {
    SendScintilla(SCI_SETREADONLY, 0L);
    const bool possible = SendScintilla(can) != 0;
    if (possible) SendScintilla(message);
    SendScintilla(SCI_SETREADONLY, 1L);
    return possible;
}

void TokenTextEdit::showText(const PartedText& text) {
    parts_ = text.parts();
    shown_ = text.text();
    spans_.clear();
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        if (!IsToken(parts_[i].kind)) continue;
        spans_.push_back({i, static_cast<int>(parts_[i].from), static_cast<int>(parts_[i].from + parts_[i].size)});
    }
    // The caret and the view stay where they were when the same record's
    // text comes again (after Apply, Revert or a write elsewhere).
    const int caret = caretPosition();
    const int top = firstVisibleLine();
    loading_ = true;
    SendScintilla(SCI_SETREADONLY, 0L);
    setText(FromMapText(shown_));
    SendScintilla(SCI_SETREADONLY, 1L);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    loading_ = false;
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(std::min<std::size_t>(static_cast<std::size_t>(caret), shown_.size())));
    setFirstVisibleLine(top);
    // Wide enough for the last line's number.
    setMarginWidth(0, QString(std::max(4, static_cast<int>(QString::number(lines()).size()) + 1), QLatin1Char('0')));
    markRefused({});
}

void TokenTextEdit::setEditable(bool editable, const QString& reason) {
    editable_ = editable;
    notEditable_ = reason;
}

std::vector<EditedToken> TokenTextEdit::tokens() const {
    const std::string_view text = document();
    std::vector<EditedToken> tokens;
    tokens.reserve(spans_.size());
    for (const Span& span : spans_) {
        tokens.push_back({span.part, static_cast<std::size_t>(span.from),
                          std::string(text.substr(static_cast<std::size_t>(span.from),
                                                  static_cast<std::size_t>(span.to - span.from)))});
    }
    return tokens;
}

bool TokenTextEdit::changed() const { return document() != shown_; }

void TokenTextEdit::markRefused(const std::vector<Refusal>& refusals) {
    SendScintilla(SCI_SETINDICATORCURRENT, kRefusedIndicator);
    SendScintilla(SCI_INDICATORCLEARRANGE, 0UL, SendScintilla(SCI_GETTEXTLENGTH));
    for (const Refusal& refusal : refusals) {
        if (!refusal.part) continue;
        // The spans are in part order.
        const auto span = std::lower_bound(spans_.begin(), spans_.end(), *refusal.part,
                                           [](const Span& s, std::size_t part) { return s.part < part; });
        if (span == spans_.end() || span->part != *refusal.part) continue;
        // An empty token is marked by the byte after it.
        SendScintilla(SCI_INDICATORFILLRANGE, static_cast<unsigned long>(span->from),
                      static_cast<long>(std::max(1, span->to - span->from)));
    }
}

int TokenTextEdit::caretPosition() const { return static_cast<int>(SendScintilla(SCI_GETCURRENTPOS)); }

int TokenTextEdit::styleAt(int position) {
    // Styles are made when a line is first drawn; this one may not have been.
    SendScintilla(SCI_COLOURISE, 0UL, static_cast<long>(position + 1));
    return static_cast<int>(SendScintilla(SCI_GETSTYLEAT, static_cast<unsigned long>(position)));
}

std::optional<std::size_t> TokenTextEdit::tokenAtCaret() const {
    const int caret = caretPosition();
    if (const auto span = spanHolding(caret, caret)) return spans_[*span].part;
    return std::nullopt;
}

std::optional<std::size_t> TokenTextEdit::spanHolding(int from, int to) const {
    auto span = std::upper_bound(spans_.begin(), spans_.end(), from,
                                 [](int at, const Span& s) { return at < s.from; });
    if (span == spans_.begin()) return std::nullopt;
    --span;
    if (to > span->to) return std::nullopt;
    return static_cast<std::size_t>(span - spans_.begin());
}

// Every change of the document, whoever made it (an edit here, an undo,
// a redo), moves the spans: the token it lies in grows or shrinks, and the
// tokens after it move along.
void TokenTextEdit::modified(int position, int type, int length) {
    if (loading_) return;
    const bool inserted = type & SC_MOD_INSERTTEXT;
    if (!inserted && !(type & SC_MOD_DELETETEXT)) return;
    const auto span = spanHolding(position, inserted ? position : position + length);
    if (!span) return;
    const int change = inserted ? length : -length;
    spans_[*span].to += change;
    for (std::size_t i = *span + 1; i < spans_.size(); ++i) {
        spans_[i].from += change;
        spans_[i].to += change;
    }
}

bool TokenTextEdit::replace(int from, int to, const QByteArray& bytes) {
    if (!editable_) {
        emit editRefused(notEditable_);
        return false;
    }
    if (!spanHolding(from, to)) {
        emit editRefused(kFixedText);
        return false;
    }
    SendScintilla(SCI_SETREADONLY, 0L);
    SendScintilla(SCI_BEGINUNDOACTION);
    if (to > from) SendScintilla(SCI_DELETERANGE, static_cast<unsigned long>(from), static_cast<long>(to - from));
    if (!bytes.isEmpty()) SendScintilla(SCI_INSERTTEXT, static_cast<uintptr_t>(from), bytes.constData());
    SendScintilla(SCI_ENDUNDOACTION);
    SendScintilla(SCI_SETREADONLY, 1L);
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(from + bytes.size()));
    emit tokensEdited();
    return true;
}

void TokenTextEdit::typeText(const QString& text) {
    if (FirstWithoutMapByte(text) >= 0) {
        emit editRefused(QStringLiteral("\"%1\" has no Latin-1 byte; a map's text takes Latin-1 characters only.").arg(text));
        return;
    }
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) || text.contains(QChar(0))) {
        emit editRefused(kNoLineEnd);
        return;
    }
    const int from = static_cast<int>(SendScintilla(SCI_GETSELECTIONSTART));
    const int to = static_cast<int>(SendScintilla(SCI_GETSELECTIONEND));
    replace(from, to, text.toLatin1());
}

void TokenTextEdit::deleteAround(bool forward, bool word) {
    int from = static_cast<int>(SendScintilla(SCI_GETSELECTIONSTART));
    int to = static_cast<int>(SendScintilla(SCI_GETSELECTIONEND));
    if (from == to) {
        const auto span = spanHolding(from, from);
        if (forward) {
            to = word && span ? spans_[*span].to : from + 1;
        } else {
            // Ctrl+Backspace takes the token's bytes before the caret.
            from = word && span ? spans_[*span].from : from - 1;
        }
        if (from == to || from < 0) {
            emit editRefused(kFixedText);
            return;
        }
    }
    replace(from, to, {});
}

void TokenTextEdit::undo() {
    if (step(SCI_CANUNDO, SCI_UNDO)) emit tokensEdited();
}

void TokenTextEdit::redo() {
    if (step(SCI_CANREDO, SCI_REDO)) emit tokensEdited();
}

void TokenTextEdit::cut() {
    const int from = static_cast<int>(SendScintilla(SCI_GETSELECTIONSTART));
    const int to = static_cast<int>(SendScintilla(SCI_GETSELECTIONEND));
    if (from == to) return;
    copy();
    replace(from, to, {});
}

void TokenTextEdit::paste() { typeText(QApplication::clipboard()->text()); }

void TokenTextEdit::removeSelectedText() { deleteAround(true, false); }

bool TokenTextEdit::handles(const QKeyEvent& key) const {
    if (key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Cut) || key.matches(QKeySequence::Paste)) return true;
    if (Ctrl(key) && key.key() == Qt::Key_Y && !(key.modifiers() & Qt::ShiftModifier)) return true;
    switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete: return !(key.modifiers() & (Qt::AltModifier | Qt::MetaModifier));
    case Qt::Key_Return:
    case Qt::Key_Enter: return Unmodified(key);  // Ctrl+Return applies
    default: break;
    }
    return Unmodified(key) && Printable(key.text());
}

bool TokenTextEdit::event(QEvent* event) {
    // The window's shortcuts (Edit > Cut, Paste, Undo) would take these keys
    // before they reach the field; here they edit the token.
    if (event->type() == QEvent::ShortcutOverride && handles(static_cast<const QKeyEvent&>(*event))) {
        event->accept();
        return true;
    }
    return QsciScintilla::event(event);
}

void TokenTextEdit::keyPressEvent(QKeyEvent* key) {
    if (!handles(*key)) {
        // Moving, selecting and copying; the document takes no edit from them.
        QsciScintilla::keyPressEvent(key);
        return;
    }
    key->accept();
    if (key->matches(QKeySequence::Undo)) return undo();
    if (key->matches(QKeySequence::Cut)) return cut();
    if (key->matches(QKeySequence::Paste)) return paste();
    switch (key->key()) {
    case Qt::Key_Y: return redo();
    case Qt::Key_Backspace: return deleteAround(false, Ctrl(*key));
    case Qt::Key_Delete: return deleteAround(true, Ctrl(*key));
    case Qt::Key_Return:
    case Qt::Key_Enter: emit editRefused(kNoLineEnd); return;
    default: break;
    }
    typeText(key->text());
}

void TokenTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) typeText(event->commitString());
    event->accept();
}

}  // namespace quorin::ui
