// The tag list: pages of tag buttons read from tagcodes.mvt, and the colour
// palette below them.
#include "mainform.h"

#include "app/pager.h"
#include "app/palette.h"
#include "app/tagcodes.h"
#include "common/datalines.h"
#include "common/tagbutton.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/programdir.h"

#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabBar>

#include <algorithm>

void TMainForm::LoadTagPages()
{
    const QString path = programdir::path() + QStringLiteral("tagcodes.mvt");
    // Only a file that is not there is "not found"; a folder or a socket in
    // its place is reported below with its cause.
    if (!QFileInfo::exists(path)) {
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3001));
        return;
    }
    bool read = false;
    QString error;
    const QStringList lines = readDataLines(path, &read, &error);
    if (!read) {
        dialogs::inform(this, dialogs::Kind::Error, path + u'\n' + lex::message(3190) + u'\n' + error);
        return;
    }
    for (const TagButtonDef &def : parseTagCodes(lines, MvCoder))
        addTagButton(def);
    if (Pages->count() > 0) {
        Pages->setCurrentIndex(0);
        Tab_TagBtnListe->setCurrentIndex(0);
    }
    fitTagListWidth();
    P_TagListResize();
}

// The drawn 123 pixels hold the shipped captions in the usual fonts; a
// larger desktop font or a longer caption widens the list instead of
// cutting the caption at both ends. Past 40 characters a caption is cut at
// its end instead, so that one overlong line cannot push the documents out
// of the window; its tooltip then shows it whole.
void TMainForm::fitTagListWidth()
{
    const QList<TMvToolBarBtn97 *> buttons = Pages->findChildren<TMvToolBarBtn97 *>();
    int width = 123;
    for (TMvToolBarBtn97 *button : buttons) {
        button->ensurePolished(); // a style sheet's font counts too
        const QFontMetrics metrics = button->fontMetrics();
        const int needed = metrics.horizontalAdvance(button->accessibleName()) + 8;
        width = std::max(width, std::min(needed, 40 * metrics.averageCharWidth() + 8));
    }
    for (TMvToolBarBtn97 *button : buttons) {
        button->resize(width, button->height());
        const QString caption = button->accessibleName();
        const QString shown = button->fontMetrics().elidedText(caption, Qt::ElideRight, width - 8);
        if (shown == caption)
            continue;
        button->setText(QString(shown).replace(u'&', QStringLiteral("&&")));
        button->setToolTip(cutCaptionToolTip(caption, button->accessibleDescription()));
    }
    P_TagList->setFixedWidth(width + 9);
}

QWidget *TMainForm::tagPage(const QString &name)
{
    for (int i = 0; i < Pages->count(); ++i) {
        if (samePageName(Pages->widget(i)->windowTitle(), name)) {
            Pages->setCurrentIndex(i);
            return Pages->widget(i);
        }
    }
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TagPage%1").arg(Pages->count()));
    page->setWindowTitle(name);
    Pages->addWidget(page);
    Pages->setCurrentWidget(page);
    // Like a caption, a name past 40 characters is cut rather than making a
    // tab wider than the window; its tooltip shows it whole.
    Tab_TagBtnListe->ensurePolished();
    const QFontMetrics metrics = Tab_TagBtnListe->fontMetrics();
    const QString shown = metrics.elidedText(name, Qt::ElideRight, 40 * metrics.averageCharWidth());
    const int tab = Tab_TagBtnListe->addTab(QString(shown).replace(u'&', QStringLiteral("&&")));
    if (shown != name)
        Tab_TagBtnListe->setTabToolTip(tab, hintToolTip(name));
    return page;
}

void TMainForm::addTagButton(const TagButtonDef &def)
{
    QWidget *page = tagPage(def.page);
    const int position = int(page->findChildren<TMvToolBarBtn97 *>(QString(), Qt::FindDirectChildrenOnly).size());
    auto *button = new TMvToolBarBtn97(page);
    button->setGeometry(0, 8 + 20 * position, 123, 20);
    button->setText(QString(def.caption).replace(u'&', QStringLiteral("&&"))); // shown as written, no shortcut
    // Caption and hint whole, also for a caption that the list has to cut.
    button->setAccessibleName(def.caption);
    button->setAccessibleDescription(def.hint);
    button->TagBefore = def.before;
    button->TagAfter = def.after;
    // All hint lines form the tooltip; the status bar part stays empty.
    button->setToolTip(hintToolTip(def.hint));
    button->setStatusTip(QString());
    connect(button, &QToolButton::clicked, this, [this, button] { InsertAroundSelection(button->TagBefore, button->TagAfter); });
}

void TMainForm::Tab_TagBtnListeChange(int index)
{
    if (index >= 0 && index < Pages->count()) {
        Pages->setCurrentIndex(index);
        // Another page opens at its first button, not where the last one was scrolled to.
        Pager->setPosition(0);
    }
    P_TagListResize();
}

// The pages scroll when their buttons do not fit: the page is as tall as
// its buttons need.
void TMainForm::P_TagListResize()
{
    QWidget *page = Pages->currentWidget();
    if (!page)
        return;
    const int buttons = int(page->findChildren<TMvToolBarBtn97 *>(QString(), Qt::FindDirectChildrenOnly).size());
    Pages->setFixedHeight(20 * buttons + 22);
    Pager->recalculate();
}

void TMainForm::ImageColorsMouseUp(const QPoint &at)
{
    TEditForm *doc = activeDocument();
    if (!doc)
        return;
    const QString name = paletteColorName(paletteImage(), at);
    if (name.isEmpty())
        return;
    TColorMemo *memo = editorInView(doc);
    memo->replaceSelection(name);
    memo->setSelStart(memo->SelStart() - int(name.size()));
    memo->setSelLength(int(name.size()));
    memo->setFocus();
}
