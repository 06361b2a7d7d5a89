#include "scripteddialogs.h"

#include <QDialog>
#include <QPrinter>

namespace dialogs {

namespace {

template <typename T> std::optional<T> takeFront(std::deque<std::optional<T>> &queue)
{
    if (queue.empty())
        return std::nullopt;
    std::optional<T> value = queue.front();
    queue.pop_front();
    return value;
}

} // namespace

Answer ScriptedDialogs::message(QWidget *, Kind kind, const QString &title, const QString &text, Buttons buttons)
{
    messages.append({kind, title, text, buttons});
    if (onMessage)
        onMessage(messages.last());
    if (answers.empty())
        return defaultAnswer;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<FileResult> ScriptedDialogs::openFile(QWidget *, const FileRequest &request)
{
    openRequests.append(request);
    return takeFront(fileAnswers);
}

std::optional<FileResult> ScriptedDialogs::saveFile(QWidget *, const FileRequest &request)
{
    saveRequests.append(request);
    std::optional<FileResult> result = takeFront(fileAnswers);
    if (result && request.typeChanged && result->filterIndex != request.filterIndex)
        request.typeChanged(result->filterIndex);
    return result;
}

std::optional<ColorValue> ScriptedDialogs::chooseColor(QWidget *, ColorValue initial)
{
    colorRequests.append(initial);
    return takeFront(colorAnswers);
}

bool ScriptedDialogs::choosePrinter(QWidget *, QPrinter &printer)
{
    printJobs.append(printer.docName());
    const std::optional<QString> file = takeFront(printFiles);
    if (!file)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*file);
    return true;
}

int ScriptedDialogs::runModal(QDialog &dialog)
{
    modalRuns.append(dialog.objectName());
    if (onModal)
        onModal(dialog);
    return dialog.result();
}

ScriptedDialogsGuard::ScriptedDialogsGuard()
{
    auto dialogs = std::make_unique<ScriptedDialogs>();
    m_dialogs = dialogs.get();
    m_previous = install(std::move(dialogs));
}

ScriptedDialogsGuard::~ScriptedDialogsGuard()
{
    install(std::move(m_previous));
}

} // namespace dialogs
