#include "platform/TEdit.h"

#include "platform/Clipboard.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <functional>
#include <utility>

namespace {
bool HasSelectionClipboard() {
    return QGuiApplication::clipboard()->supportsSelection();
}

// The toolkit's edit keeps this much room between its contents and its line.
constexpr int VerticalMargin = 1;
constexpr int HorizontalMargin = 2;
} // namespace

TEdit::TEdit(QWidget* Parent)
    : QLineEdit(Parent)
    , Characters(font()) {
    QFont unshaped = font();
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    setFont(unshaped);
    connect(this, &QLineEdit::textChanged, this, [this] { Measured.reset(); });
}

void TEdit::changeEvent(QEvent* Event) {
    if (Event->type() == QEvent::FontChange) {
        Characters = CharacterLine(font());
        Measured.reset();
    }
    QLineEdit::changeEvent(Event);
}

const TEdit::LineMetrics& TEdit::Metrics() {
    if (!Measured) {
        const QString shown = displayText();
        // Height and ascent depend only on which characters there are: the toolkit's edit measures them
        // on the whole line, here on each character once.
        const QString distinct = CharacterLine::Distinct(shown);
        const QFontMetrics metrics = fontMetrics();
        QTextLayout line(distinct, font());
        LayOutOneLine(line);
        Measured = LineMetrics{
            Characters.Width(shown),
            qMax(distinct.isEmpty() ? 0 : metrics.boundingRect(distinct).height(), metrics.height()),
            line.lineAt(0).ascent(), shown.isRightToLeft()};
    }
    return *Measured;
}

// As the toolkit's edit paints itself, but the line's characters only as far as they are in view.
void TEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette palette = this->palette();
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect contents =
        style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
    painter.setClipRect(contents);

    const QString shown = displayText();
    const LineMetrics& line = Metrics();
    const Qt::Alignment alignment =
        QStyle::visualAlignment(line.RightToLeft ? Qt::RightToLeft : Qt::LeftToRight, this->alignment());
    int top = contents.y() + (contents.height() - line.Height + 1) / 2;
    if (alignment & Qt::AlignBottom)
        top = contents.bottom() + 1 - line.Height - VerticalMargin;
    else if (alignment & Qt::AlignTop)
        top = contents.y() + VerticalMargin;
    const QRect lineRect(contents.x() + HorizontalMargin, top, contents.width() - 2 * HorizontalMargin,
                         line.Height);

    // Scrolled as the toolkit's edit scrolls: only as far as needed to keep the caret in view.
    const int caretX = qRound(qreal(Characters.X(shown, cursorPosition())) / 64);
    const int widthUsed = qRound(qreal(line.Width) / 64) + 1;
    if (widthUsed <= lineRect.width()) {
        const Qt::Alignment horizontal = alignment & ~(Qt::AlignAbsolute | Qt::AlignVertical_Mask);
        Scroll = horizontal == Qt::AlignRight     ? widthUsed - lineRect.width() + 1
                 : horizontal == Qt::AlignHCenter ? (widthUsed - lineRect.width()) / 2
                                                  : 0;
    } else if (caretX - Scroll >= lineRect.width()) {
        Scroll = caretX - lineRect.width() + 1;
    } else if (caretX - Scroll < 0 && Scroll < widthUsed) {
        Scroll = caretX;
    } else if (widthUsed - Scroll < lineRect.width()) {
        Scroll = widthUsed - lineRect.width() + 1;
    } else {
        Scroll = qMax(0, Scroll);
    }
    if (shown.isEmpty())
        return;

    // The characters in view, with a character's height of room either side for glyphs that reach
    // beyond their advance; the rest is clipped.
    const QPoint lineStart =
        lineRect.topLeft() - QPoint(Scroll, qRound(line.Ascent) - fontMetrics().ascent());
    const qint64 room = fontMetrics().height();
    const auto [first, end, firstX] = Characters.Between(shown, (contents.left() - lineStart.x() - room) * 64,
                                                         (contents.right() + 1 - lineStart.x() + room) * 64);
    QTextLayout inView(shown.mid(first, end - first), font());
    LayOutOneLine(inView);
    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText()) {
        QTextLayout::FormatRange selected;
        selected.start = int(qBound(first, qsizetype(selectionStart()), end) - first);
        selected.length = int(qBound(first, qsizetype(selectionEnd()), end) - first) - selected.start;
        selected.format.setBackground(palette.brush(QPalette::Highlight));
        selected.format.setForeground(palette.brush(QPalette::HighlightedText));
        if (selected.length > 0)
            selections.append(selected);
    }
    painter.setPen(palette.text().color());
    // Where the whole line would put these characters: the same distance from its start, the same
    // baseline.
    const QPointF at(lineStart.x() + qreal(firstX) / 64,
                     lineStart.y() + line.Ascent - inView.lineAt(0).ascent());
    inView.draw(&painter, at, selections, contents);
}

QMouseEvent TEdit::Scrolled(const QMouseEvent* Event, int Down) const {
    return QMouseEvent(Event->type(), Event->position() + QPointF(Scroll, Down), Event->scenePosition(),
                       Event->globalPosition(), Event->button(), Event->buttons(), Event->modifiers(),
                       Event->pointingDevice());
}

void TEdit::mousePressEvent(QMouseEvent* Event) {
    // A third click selects all, as the toolkit's edit has it; it decides that here, by the place of
    // the double click, which the toolkit's edit got moved out of reach (below).
    if (Event->button() != Qt::RightButton && TripleClick.isActive() &&
        (Event->position().toPoint() - TripleClickAt).manhattanLength() < QApplication::startDragDistance()) {
        // Told of the press with the right button, the toolkit's edit notes where it was and no more.
        QMouseEvent noted(Event->type(), Event->position() + QPointF(Scroll, 0), Event->scenePosition(),
                          Event->globalPosition(), Qt::RightButton, Event->buttons(), Event->modifiers(),
                          Event->pointingDevice());
        QLineEdit::mousePressEvent(&noted);
        selectAll();
        return;
    }
    QMouseEvent scrolled = Scrolled(Event);
    QLineEdit::mousePressEvent(&scrolled);
    Event->setAccepted(scrolled.isAccepted());
}

void TEdit::mouseMoveEvent(QMouseEvent* Event) {
    QMouseEvent scrolled = Scrolled(Event);
    QLineEdit::mouseMoveEvent(&scrolled);
    Event->setAccepted(scrolled.isAccepted());
}

void TEdit::mouseDoubleClickEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton) {
        TripleClick.start(QApplication::doubleClickInterval(), this);
        TripleClickAt = Event->position().toPoint();
    }
    constexpr int OutOfReach = 1 << 20;
    QMouseEvent scrolled = Scrolled(Event, OutOfReach);
    QLineEdit::mouseDoubleClickEvent(&scrolled);
    Event->setAccepted(scrolled.isAccepted());
}

void TEdit::timerEvent(QTimerEvent* Event) {
    if (Event->timerId() == TripleClick.timerId())
        TripleClick.stop();
    else
        QLineEdit::timerEvent(Event);
}

void TEdit::CopySelection(QClipboard::Mode Mode) const {
    if (!hasSelectedText() || echoMode() != Normal ||
        (Mode == QClipboard::Selection && !HasSelectionClipboard()))
        return;
    QGuiApplication::clipboard()->setMimeData(MarkedText(selectedText()), Mode);
}

void TEdit::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Direction_L || Event->key() == Qt::Key_Direction_R) {
        // The toolkit's edit would lay the line out the other way: moving a key's characters at its ends
        // and turning the arrows round. A key runs left to right, as it is drawn here.
        Event->accept();
        return;
    }
    // After every key it handles, the toolkit's edit puts the selected text into the selection, plain.
    // Where there is such a selection, the keys that move or select are handled here, and the edit gets
    // the others only while nothing is selected, or Return, which it passes on before that.
    if (Event->matches(QKeySequence::Copy)) {
        CopySelection(QClipboard::Clipboard);
    } else if (!HasSelectionClipboard()) {
        QLineEdit::keyPressEvent(Event);
        return;
    } else if (!MoveOrSelect(Event)) {
        if (!hasSelectedText() || Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter)
            QLineEdit::keyPressEvent(Event);
        else
            Event->ignore(); // read-only: no other key changes anything here
        return;
    }
    CopySelection(QClipboard::Selection); // as the toolkit's edit does after each key it handles
    Event->accept();
}

bool TEdit::MoveOrSelect(const QKeyEvent* Event) {
    // As the toolkit's edit does them where there is a selection clipboard (X11, Wayland): a step aside
    // ends a selection at that edge, and "ahead" is the way the text runs, whatever the window's direction.
    const int ahead = text().isRightToLeft() ? -1 : 1;
    const auto step = [this](bool mark, int steps) {
        if (!mark && hasSelectedText())
            setCursorPosition(steps > 0 ? selectionEnd() : selectionStart());
        else
            cursorForward(mark, steps);
    };
    const auto word = [this, ahead](bool mark, int direction) {
        if (direction * ahead > 0)
            cursorWordForward(mark);
        else
            cursorWordBackward(mark);
    };
    const std::pair<QKeySequence::StandardKey, std::function<void()>> moves[] = {
        {QKeySequence::SelectAll, [this] { selectAll(); }},
        {QKeySequence::MoveToStartOfLine, [this] { home(false); }},
        {QKeySequence::MoveToStartOfBlock, [this] { home(false); }},
        {QKeySequence::MoveToEndOfLine, [this] { end(false); }},
        {QKeySequence::MoveToEndOfBlock, [this] { end(false); }},
        {QKeySequence::SelectStartOfLine, [this] { home(true); }},
        {QKeySequence::SelectStartOfBlock, [this] { home(true); }},
        {QKeySequence::SelectEndOfLine, [this] { end(true); }},
        {QKeySequence::SelectEndOfBlock, [this] { end(true); }},
        {QKeySequence::MoveToNextChar, [&] { step(false, ahead); }},
        {QKeySequence::MoveToPreviousChar, [&] { step(false, -ahead); }},
        {QKeySequence::SelectNextChar, [&] { step(true, ahead); }},
        {QKeySequence::SelectPreviousChar, [&] { step(true, -ahead); }},
        {QKeySequence::MoveToNextWord, [&] { word(false, 1); }},
        {QKeySequence::MoveToPreviousWord, [&] { word(false, -1); }},
        {QKeySequence::SelectNextWord, [&] { word(true, 1); }},
        {QKeySequence::SelectPreviousWord, [&] { word(true, -1); }},
    };
    for (const auto& [keys, move] : moves)
        if (Event->matches(keys)) {
            move();
            return true;
        }
    return false;
}

void TEdit::mouseReleaseEvent(QMouseEvent* Event) {
    // The toolkit's edit puts the selected text into the selection here, plain; the rest of what it does
    // on release is for dragging and editing, which this edit does not.
    if (Event->button() == Qt::LeftButton && HasSelectionClipboard()) {
        CopySelection(QClipboard::Selection);
        Event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(Event);
}

void TEdit::contextMenuEvent(QContextMenuEvent* Event) {
    QMenu* menu = createStandardContextMenu();
    // The toolkit's menu, in the user's language; its "Copy" would copy plain, so it copies marked.
    for (QAction* action : menu->actions())
        if (action->text().section(u'\t', 0, 0) == QLineEdit::tr("&Copy")) {
            action->disconnect(this);
            connect(action, &QAction::triggered, this, [this] { CopySelection(QClipboard::Clipboard); });
        }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(Event->globalPos());
}
