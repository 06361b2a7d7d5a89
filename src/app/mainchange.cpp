// The entity table and the Change menu of the main window: conversions
// between special characters and entities, and tag stripping.
#include "mainform.h"

#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "tools/changetext.h"
#include "tools/entitysform.h"
#include "tools/entitytable.h"

#include <QPointer>

namespace {

bool confirmed(QWidget *parent, int message)
{
    return dialogs::ask(parent, dialogs::Kind::Warning, lex::message(message), dialogs::Buttons::YesCancel) == dialogs::Answer::Yes;
}

} // namespace

void TMainForm::BtnAmpersandClick()
{
    TEntitysForm form(this, this);
    dialogs::current().runModal(form);
}

void TMainForm::PopChange_UmlCodeClick(QAction *sender)
{
    convertActiveDocument(true, sender == SonderzeichenzuCode1);
}

void TMainForm::PopChange_CodeUmlClick(QAction *sender)
{
    convertActiveDocument(false, sender == CodezuSonderzeichen1);
}

void TMainForm::convertActiveDocument(bool toEntities, bool fileTable)
{
    // The question waits in an event loop of its own: the window may go meanwhile.
    const QPointer<TEditForm> doc(activeDocument());
    if (!doc)
        return;
    ConversionTable table = builtinConversionTable();
    if (fileTable) {
        // The file is read before the question, so that its fault comes first.
        const entities::FileLines file = entities::readFile(entities::filePath());
        if (!file.error.isEmpty()) {
            ShowException(file.error);
            return;
        }
        if (!confirmed(this, toEntities ? 3008 : 3007) || !doc || doc->isBeingDestroyed())
            return;
        table = conversionTable(file.lines);
    }
    const Conversion result =
        convertInEditor(*editorInView(doc), toEntities ? ConversionDirection::ToEntities : ConversionDirection::ToCharacters, table);
    if (result.fault == ConversionFault::BadCode)
        ShowException(conversionFaultMessage(result, table));
    else if (result.fault == ConversionFault::TooLarge)
        dialogs::inform(this, dialogs::Kind::Error, conversionFaultMessage(result, table));
}

void TMainForm::HTMLTagslschen1Click()
{
    const QPointer<TEditForm> doc(activeDocument());
    if (!doc || !confirmed(this, 3009))
        return;
    if (!doc || doc->isBeingDestroyed()) // closed while the question waited
        return;
    stripTagsInEditor(*editorInView(doc));
}
