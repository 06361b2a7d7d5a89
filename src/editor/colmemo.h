// The source editor of a document window: a plain-text edit control whose
// text takes the colours its rules find, with hot spots (text between two
// marker characters shown as an underlined link).
//
// Other modules use only the classic edit interface below; its positions
// count every line break as two characters, exactly as in Text().
#pragma once

#include "colorengine.h"
#include "colorrules.h"
#include "linerules.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTimer>

#include <functional>
#include <memory>

class ColorLayout;
class QDrag;

class TColorMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    // Draws a keyword range itself: painter, the range's text, its rectangle
    // and the control's font colour; the painter's pen has the range's colour.
    using TKeyDrawEvent = std::function<void(QPainter &canvas, const QString &key, const QRect &rect, ColorValue fontColor)>;

    explicit TColorMemo(QWidget *parent = nullptr);
    ~TColorMemo() override;

    // The text with "\n" breaks and every character as typed (the document's
    // own plain text turns no-break spaces into blanks).
    QString plainText() const;

    // Replaces the text; line and paragraph separators in it become real
    // line breaks, as when typed or pasted, so that positions count them as
    // Text() shows them. Hides the toolkit's own, which would keep them.
    void setPlainText(const QString &text);

    // Classic edit interface.
    QString Text() const;
    // The same with capacity for `room` more characters, read in one pass.
    QString Text(qsizetype room) const;
    void setText(const QString &text);
    // The lines; a break at the end of the text ends the last one.
    QStringList Lines() const;
    void setLines(const QStringList &lines);
    int lineCount() const;
    int lineStart(int line) const;
    int SelStart() const;
    void setSelStart(int position);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const;
    // The selection with "\n" breaks and every character as typed.
    QString plainSelection() const;
    void replaceSelection(const QString &text);
    bool Modified() const;
    void setModified(bool modified);
    void SelectAll();
    int caretLine() const;
    int caretColumn() const;
    int firstVisibleLine() const;
    void scrollCaret();
    bool canUndo() const;

    // Colouring.
    // Whoever takes the rules may change them: they are compiled again before
    // the next paint.
    TDrawRules &ColorRules()
    {
        m_rulesTouched = true;
        return m_rules;
    }
    void setColorRules(const TDrawRules &rules);
    THotSpot HotSpot() const { return m_hotSpot; }
    void setHotSpot(const THotSpot &hotSpot);
    int ColorLimMax() const { return m_colorLimMax; }
    void setColorLimMax(int records);
    bool RedrawAlways() const { return m_redrawAlways; }
    void setRedrawAlways(bool on) { m_redrawAlways = on; }
    ColorValue Color() const { return m_color; }
    void setColor(ColorValue color);
    ColorValue FontColor() const { return m_fontColor; }
    void setFontColor(ColorValue color);
    void setOnDraw(TDrawEvent handler);
    void setOnDrawKey(TKeyDrawEvent handler);
    // Asks for the colours to be brought up to date and repainted.
    void PaintColors(bool caretLineOnly = false);

    // The colour runs of one line as painted (for tests and tools).
    std::vector<ColorRun> runsOfLine(int line);
    // Lines whose colours are known without a scan: the scan of the whole
    // text runs in slices while the editor is idle (for tests and tools).
    int scannedLines() const { return m_engine.validBlocks(); }
    bool scanPending() const { return m_scanTimer.isActive(); }

public Q_SLOTS:
    // The toolkit's edits that come from menus, not keys: each keeps a
    // caret on a long line in view (the toolkit would show the line's start).
    void undo();
    void redo();
    void cut();
    void paste();

Q_SIGNALS:
    void OnHotSpotClick(const QString &text);
    void OnVScroll();
    void OnHScroll();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

    // Runs a drag of text out of this editor. `droppedHere` when it ended in
    // this editor, whose drop has then placed (or moved) the text itself.
    struct DragOutcome {
        Qt::DropAction action = Qt::IgnoreAction;
        bool droppedHere = false;
    };
    virtual DragOutcome runTextDrag(QDrag *drag, Qt::DropActions actions);

private:
    TDrawRules m_rules;
    THotSpot m_hotSpot;
    int m_colorLimMax = 0;
    bool m_redrawAlways = false;
    ColorValue m_color = colors::clWindow;
    ColorValue m_fontColor = colors::clWindowText;
    TDrawEvent m_onDraw;
    TKeyDrawEvent m_onDrawKey;
    ColorEngine m_engine;
    ColorLayout *m_layout = nullptr;           // owned by the document
    QHash<quint64, QTextCharFormat> m_formats; // by colour and kind of run
    std::vector<linescan::Rule> m_snapshot;
    std::vector<int> m_snapshotSource; // rule index per snapshot entry, -1 for the hot spots
    bool m_overHotSpot = false;
    bool m_rulesTouched = true;
    int m_colouredRevision = -1; // text revision whose colours the view shows
    QTimer m_longRecheck;        // long lines in view, checked once typing pauses
    QTimer m_scanTimer;          // the next slice of the scan ahead

    void recheckLongLines();
    void scheduleScan(int delayMs);
    void scanSlice();
    void refreshRules();
    bool applyFormats(const QTextBlock &block);
    QList<QTextLayout::FormatRange> withComposedText(const QList<QTextLayout::FormatRange> &formats, int at, int length) const;
    quint64 formatKey(const ColorRun &run) const;
    QTextCharFormat formatOf(const ColorRun &run);
    void drawKeysByHandler();
    void eventRanges(int rule, const QTextBlock &block, std::vector<linescan::Range> &out);
    bool hotSpotAt(const QPoint &pos, QString *text) const;
    void applyPalette();

    // Very long lines are drawn, hit and walked here (colmemo_long.cpp):
    // the base class would lay the whole line out on every key.
    struct LongRuns {
        int fragment = -1;
        int revision = -1;
        std::vector<ColorRun> runs;
    };
    LongRuns m_longRuns;
    int m_caretBlock = -1;          // block of the caret as last seen
    bool m_longDrag = false;        // a selection by mouse that started on a long line
    bool m_longDragPending = false; // a press in the selection of a long line
    QPoint m_longPressAt;
    // A selection by mouse on a long line goes on while the pointer rests
    // outside the window (the base class's own timer never sees this drag).
    QTimer m_longAutoScroll;
    QPoint m_longDragPoint;
    void extendLongDrag(const QPoint &point);
    void autoScrollLongDrag();
    // A press this soon after a double click on a long line selects the line.
    QPoint m_longDoubleClickAt;
    QElapsedTimer m_longDoubleClickClock;
    QTimer m_longBlink; // the caret's blink on a long line
    bool m_longCaretOn = true;
    // Text an input method composes: its caret and its look (in columns of
    // the line as shown, the composed text in it).
    struct Composing {
        int caret = 0;
        bool caretHidden = false;
        QList<QTextLayout::FormatRange> formats;
    };
    Composing m_composing;

    const std::vector<ColorRun> &longRuns(const QTextBlock &block);
    void paintLongLines(const QRect &area);
    void paintLongLine(QPainter &painter, const QTextBlock &block, const QPointF &topLeft);
    bool longLineKey(QKeyEvent *event);
    void keepPageColumn(const QTextCursor &before);
    int positionAt(const QPoint &point) const;
    qreal columnX(const QTextBlock &block, int column) const;
    int columnAtX(const QTextBlock &block, qreal x) const;
    void keepLongCaretInView();
    void startLongTextDrag();
    // Offers the selection as the X selection, as the base class does after
    // its own mouse selections.
    void offerXSelection();
    void caretMoved();
    // Up, Down and the page keys aim at the x where a walk of them began, so
    // that a short line on the way does not shift the column (-1: no walk).
    qreal m_goalX = -1;
    bool m_movingVertically = false;
    void restartLongBlink();
    void blinkLongCaret();
    void fixScrollRange();
    bool m_fixingRange = false;
    void typeKey(QKeyEvent *event);
    bool m_typing = false;     // a key press is changing the text
    bool m_stepSealed = false; // the last change was no typing: undo steps of commands, undo, redo
    quint64 m_changes = 0;     // edits of the text so far
    // A Backspace or Delete run that began a step of its own: its key, the
    // caret after it and the edit count then.
    struct DeleteRun {
        int key = 0;
        int caret = -1;
        quint64 changes = 0;
    } m_deleteRun;
};
