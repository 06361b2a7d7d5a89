#include "mainform.h"

#include "app/bannermenu.h"
#include "app/glyphs.h"
#include "platform/lexstrings.h"

#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QAction *makeAction(QObject *parent, const char *name, const QKeySequence &shortcut = {})
{
    auto *action = new QAction(parent);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

QMenu *makeMenu(QMenuBar *bar, const char *name)
{
    QMenu *menu = bar->addMenu(QString());
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

} // namespace

void TMainForm::buildMenus()
{
    buildFileMenu();
    buildEditMenu();
    buildExtrasMenu();
    buildWindowMenu();
    buildHelpMenu();
}

void TMainForm::buildFileMenu()
{
    Menu_File = makeMenu(menuBar(), "Menu_File");
    Menu_New = makeAction(this, "Menu_New");
    Menu_Open = makeAction(this, "Menu_Open");
    Menu_OpenNew = new QMenu(this);
    Menu_OpenNew->setObjectName(QStringLiteral("Menu_OpenNew"));
    Menu_Save = makeAction(this, "Menu_Save");
    Menu_SaveAs = makeAction(this, "Menu_SaveAs");
    Menu_Reload = makeAction(this, "Menu_Reload");
    Menu_Print = makeAction(this, "Menu_Print");
    Menu_PrintPreview = makeAction(this, "Menu_PrintPreview");
    Menu_Close = makeAction(this, "Menu_Close");
    Menu_File->addActions({Menu_New, Menu_Open});
    Menu_File->addMenu(Menu_OpenNew);
    Menu_File->addActions({Menu_Save, Menu_SaveAs});
    Menu_File->addSeparator();
    Menu_File->addAction(Menu_Reload);
    Menu_File->addSeparator();
    Menu_File->addActions({Menu_Print, Menu_PrintPreview});
    Menu_File->addSeparator();
    Menu_File->addAction(Menu_Close);
}

void TMainForm::buildEditMenu()
{
    Menu_Edit = makeMenu(menuBar(), "Menu_Edit");
    Menu_Undo = makeAction(this, "Menu_Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    Menu_Cut = makeAction(this, "Menu_Cut", QKeySequence(Qt::CTRL | Qt::Key_X));
    Menu_Copy = makeAction(this, "Menu_Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    Menu_Paste = makeAction(this, "Menu_Paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    Menu_Delete = makeAction(this, "Menu_Delete", QKeySequence(Qt::CTRL | Qt::Key_Delete));
    // Ctrl+S opens the search; saving has the toolbar and the File menu.
    Menu_SearchIt = makeAction(this, "Menu_SearchIt", QKeySequence(Qt::CTRL | Qt::Key_S));
    Menu_SelectAll = makeAction(this, "Menu_SelectAll");
    Menu_Edit->addAction(Menu_Undo);
    Menu_Edit->addSeparator();
    Menu_Edit->addActions({Menu_Cut, Menu_Copy, Menu_Paste, Menu_Delete});
    Menu_Edit->addSeparator();
    Menu_Edit->addAction(Menu_SearchIt);
    Menu_Edit->addSeparator();
    Menu_Edit->addAction(Menu_SelectAll);
}

void TMainForm::buildExtrasMenu()
{
    Menu_Extras = makeMenu(menuBar(), "Menu_Extras");
    Menu_Pics = makeAction(this, "Menu_Pics");
    Menu_Colors = makeAction(this, "Menu_Colors");
    Menu_Entity = makeAction(this, "Menu_Entity");
    Menu_Options = makeAction(this, "Menu_Options");
    Menu_Extras->addActions({Menu_Pics, Menu_Colors, Menu_Entity});
    Menu_Extras->addSeparator();
    Menu_Extras->addAction(Menu_Options);
}

void TMainForm::buildWindowMenu()
{
    Menu_Window = makeMenu(menuBar(), "Menu_Window");
    Menu_Cascade = makeAction(this, "Menu_Cascade");
    Menu_TileH = makeAction(this, "Menu_TileH");
    Menu_TileV = makeAction(this, "Menu_TileV");
    Menu_Arrange = makeAction(this, "Menu_Arrange");
    Menu_WindowBar = makeAction(this, "Menu_WindowBar");
    Menu_WindowBar->setCheckable(true);
    Menu_WindowBar->setChecked(true);
    Menu_Window->addActions({Menu_Cascade, Menu_TileH, Menu_TileV, Menu_Arrange, Menu_WindowBar});
}

void TMainForm::buildHelpMenu()
{
    Menu_Help = makeMenu(menuBar(), "Menu_Help");
    Menu_HelpMe = makeAction(this, "Menu_HelpMe", QKeySequence(Qt::Key_F1));
    Menu_Info = makeAction(this, "Menu_Info");
    Menu_Help->addActions({Menu_HelpMe, Menu_Info});
}

void TMainForm::buildToolbar()
{
    Toolbar = new QToolBar(this);
    Toolbar->setObjectName(QStringLiteral("Toolbar"));
    Toolbar->setAllowedAreas(Qt::TopToolBarArea | Qt::LeftToolBarArea | Qt::RightToolBarArea);
    Toolbar->setIconSize(QSize(20, 20));
    Toolbar->toggleViewAction()->setVisible(false); // no close button, no context entry
    setContextMenuPolicy(Qt::NoContextMenu);
    auto add = [this](const char *name, Glyph glyph) {
        QAction *a = makeAction(this, name);
        a->setIcon(glyphIcon(glyph));
        Toolbar->addAction(a);
        return a;
    };
    BtnNew = add("BtnNew", Glyph::New);
    BtnOpen = add("BtnOpen", Glyph::Open);
    BtnSave = add("BtnSave", Glyph::Save);
    BtnSaveAs = add("BtnSaveAs", Glyph::SaveAs);
    Toolbar->addSeparator();
    BtnPrint = add("BtnPrint", Glyph::Print);
    Toolbar->addSeparator();
    BtnBrowser = add("BtnBrowser", Glyph::Browser);
    Toolbar->addSeparator();
    BtnExplore = add("BtnExplore", Glyph::Explore);
    Toolbar->addSeparator();
    BtnPicture = add("BtnPicture", Glyph::Picture);
    BtnColorPick = add("BtnColorPick", Glyph::ColorPick);
    BtnAmpersand = add("BtnAmpersand", Glyph::Ampersand);
    Toolbar->addSeparator();
    BtnList = add("BtnList", Glyph::List);
    BtnList->setCheckable(true);
    BtnList->setChecked(true);
    Toolbar->addSeparator();
    BtnChange = add("BtnChange", Glyph::Change);
    BtnAssist = add("BtnAssist", Glyph::Assist);
    Toolbar->addSeparator();
    BtnTools = add("BtnTools", Glyph::Tools);
    BtnHelp = add("BtnHelp", Glyph::Help);
    Toolbar->addSeparator();
    BtnClose = add("BtnClose", Glyph::Close);
    addToolBar(Qt::TopToolBarArea, Toolbar);
}

QToolButton *TMainForm::toolButton(QAction *action) const
{
    return qobject_cast<QToolButton *>(Toolbar->widgetForAction(action));
}

void TMainForm::buildPopups()
{
    PopupBrowser = new BannerMenu(10, this);
    PopupBrowser->setObjectName(QStringLiteral("PopupBrowser"));
    PopBrowser_Standard = makeAction(this, "PopBrowser_Standard");
    PopBrowser_Standard->setIcon(glyphIcon(Glyph::Browser));
    Menu_Browser1 = makeAction(this, "Menu_Browser1");
    Menu_Browser2 = makeAction(this, "Menu_Browser2");
    Menu_Browser1->setVisible(false);
    Menu_Browser2->setVisible(false);
    PopupBrowser->addActions({PopBrowser_Standard, Menu_Browser1, Menu_Browser2});

    PopupChange = new BannerMenu(15, this);
    PopupChange->setObjectName(QStringLiteral("PopupChange"));
    PopChange_UmlCode = makeAction(this, "PopChange_UmlCode");
    PopChange_CodeUml = makeAction(this, "PopChange_CodeUml");
    SonderzeichenzuCode1 = makeAction(this, "SonderzeichenzuCode1");
    CodezuSonderzeichen1 = makeAction(this, "CodezuSonderzeichen1");
    HTMLTagslschen1 = makeAction(this, "HTMLTagslschen1");
    PopupChange->addActions({PopChange_UmlCode, PopChange_CodeUml, SonderzeichenzuCode1, CodezuSonderzeichen1});
    PopupChange->addSeparator();
    PopupChange->addAction(HTMLTagslschen1);

    PopupAssist = new BannerMenu(15, this);
    PopupAssist->setObjectName(QStringLiteral("PopupAssist"));

    const std::pair<QAction *, QMenu *> dropDowns[] = {{BtnBrowser, PopupBrowser}, {BtnChange, PopupChange}, {BtnAssist, PopupAssist}};
    for (const auto &[action, menu] : dropDowns) {
        action->setMenu(menu);
        if (QToolButton *button = toolButton(action))
            button->setPopupMode(QToolButton::InstantPopup);
    }
    // Enabled exactly when plug-ins were found; none are loaded yet.
    BtnAssist->setEnabled(!PopupAssist->actions().isEmpty());
}

void TMainForm::applyCaptions()
{
    const std::pair<QObject *, int> captions[] = {
        {Menu_File, 1001},
        {Menu_New, 1002},
        {Menu_Open, 1003},
        {Menu_Save, 1004},
        {Menu_SaveAs, 1005},
        {Menu_OpenNew, 1006},
        {Menu_Reload, 1085},
        {Menu_Print, 1069},
        {Menu_PrintPreview, 1070},
        {Menu_Close, 1009},
        {Menu_Edit, 1010},
        {Menu_Undo, 1011},
        {Menu_Cut, 1012},
        {Menu_Copy, 1013},
        {Menu_Paste, 1014},
        {Menu_Delete, 1015},
        {Menu_SelectAll, 1016},
        {Menu_SearchIt, 1018},
        {Menu_Extras, 1021},
        {Menu_Window, 1022},
        {Menu_Cascade, 1023},
        {Menu_TileH, 1025},
        {Menu_TileV, 1024},
        {Menu_Arrange, 1026},
        {Menu_Help, 1027},
        {Menu_HelpMe, 1028},
        {Menu_Info, 1029},
        {Menu_Pics, 1030},
        {Menu_Colors, 1031},
        {Menu_Entity, 1033},
        {Menu_Options, 1035},
        {PopChange_UmlCode, 1087},
        {PopChange_CodeUml, 1088},
        {SonderzeichenzuCode1, 1089},
        {CodezuSonderzeichen1, 1090},
        {HTMLTagslschen1, 1091},
        {Menu_WindowBar, 1117},
        {PopBrowser_Standard, 1200},
    };
    for (const auto &[target, number] : captions) {
        if (auto *menu = qobject_cast<QMenu *>(target))
            menu->setTitle(lex::caption(number));
        else if (auto *action = qobject_cast<QAction *>(target))
            action->setText(lex::caption(number));
    }
    PopupChange->setBannerText(lex::caption(1086));
    PopupAssist->setBannerText(lex::caption(1092));
    Toolbar->setWindowTitle(lex::caption(1118));
}

void TMainForm::applyHints()
{
    const std::pair<QAction *, int> hints[] = {
        {BtnNew, 2001},       {BtnOpen, 2002},   {BtnSave, 2003},    {BtnSaveAs, 2004},  {BtnTools, 2005},   {BtnHelp, 2006},
        {BtnClose, 2007},     {BtnPrint, 2008},  {BtnExplore, 2026}, {BtnBrowser, 2009}, {BtnPicture, 2010}, {BtnColorPick, 2011},
        {BtnAmpersand, 2013}, {BtnChange, 2014}, {BtnList, 2029},    {BtnAssist, 2030},
    };
    for (const auto &[action, number] : hints) {
        const QString hint = lex::hint(number);
        action->setText(lex::shortHint(hint));
        action->setToolTip(lex::shortHint(hint));
        action->setStatusTip(lex::longHint(hint));
    }
    const QString paletteHint = lex::hint(2017);
    ImageColors->setToolTip(lex::shortHint(paletteHint));
    ImageColors->setStatusTip(lex::longHint(paletteHint));
    // Menu items show the long hint of their toolbar twin in the status bar.
    const std::pair<QAction *, QAction *> twins[] = {
        {Menu_Open, BtnOpen},        {Menu_Save, BtnSave},        {Menu_SaveAs, BtnSaveAs}, {Menu_Print, BtnPrint}, {Menu_Pics, BtnPicture},
        {Menu_Colors, BtnColorPick}, {Menu_Entity, BtnAmpersand}, {Menu_Options, BtnTools}, {Menu_HelpMe, BtnHelp}, {Menu_Close, BtnClose}};
    for (const auto &[menu, button] : twins)
        menu->setStatusTip(button->statusTip());
}
